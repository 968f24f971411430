#pragma once

#include <cstdint>

class DirectoryLister;

// One companion product this scheduler can serve. The table is fixed; one row is chosen at
// start-up and read-only afterwards.
struct ProductVariant {
    const char* title;
    const char* exeName;
    const char* fileFilter;
    std::int32_t parametersFlag;
    const char* defaultSwitch;
    const char* helpTopic;
    const char* productName;
};

constexpr int kProductVariantCount = 4;
extern const ProductVariant kProductVariants[kProductVariantCount];

// Chooses the variant from the executables in the program folder (which ends in its
// separator): the first listed "*.exe" that is not a folder and whose name equals a row's
// exeName, without regard to case, decides; none gives row 0.
const ProductVariant& DetectVariant(const char* programFolder, DirectoryLister& lister);
const ProductVariant& DetectVariant(const char* programFolder);

// The active variant, set once by start-up (row 0 until then).
const ProductVariant& ActiveVariant();
void SetActiveVariant(const ProductVariant& variant);
