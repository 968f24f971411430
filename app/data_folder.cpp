#include "app/data_folder.h"

#include "app/product_variant.h"
#include "engine/bounded_text.h"
#include "platform/user_folders.h"

std::string BuildDataFolder(const std::string& applicationData, const ProductVariant& variant) {
    if (applicationData.empty()) {
        return std::string();
    }
    char buffer[400];
    const char separator[2] = {PathSeparator(), '\0'};
    boundedCopy(buffer, sizeof buffer, applicationData.c_str());
    boundedAppend(buffer, sizeof buffer, separator);
    boundedAppend(buffer, sizeof buffer, variant.productName);
    boundedAppend(buffer, sizeof buffer, separator);
    return buffer;
}

std::string BuildDataFolder(const ProductVariant& variant) {
    return BuildDataFolder(ApplicationDataFolder(), variant);
}
