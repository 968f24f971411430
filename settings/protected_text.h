#pragma once

#include <string>

// Protected values: "XZ" and, per 8-byte block of the text, its two enciphered words as
// "%8X%8X" (RC5-32/12/32 under the program's fixed key; words loaded big-endian).
//   protectText("secret") == "XZ" + 16 characters

std::string protectText(const char* text);

// Deciphers the characters after "XZ" into `result`. False when the text ends inside a
// block; `result` then keeps the blocks read before it.
bool unprotectText(const char* hex, std::string& result);
