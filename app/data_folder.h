#pragma once

#include <string>

struct ProductVariant;

// The per-user folder of the variant's "Scheduler.cfg": the application-data folder, the
// separator, the variant's product name and the separator, cut to 400 bytes as start-up has
// always done. Empty when the system names no application-data folder, so nothing is ever
// written relative to the working folder.
std::string BuildDataFolder(const ProductVariant& variant);
// The same from a given application-data folder.
std::string BuildDataFolder(const std::string& applicationData, const ProductVariant& variant);
