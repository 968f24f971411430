#include "app/data_folder.h"

#include <gtest/gtest.h>

#include "app/product_variant.h"
#include "platform/user_folders.h"

namespace {

TEST(DataFolder, AppendsTheProductNameAndSeparators) {
    const std::string s(1, PathSeparator());
    EXPECT_EQ(BuildDataFolder("C:" + s + "Users" + s + "AppData", kProductVariants[2]),
              "C:" + s + "Users" + s + "AppData" + s + "Dovrin Lens" + s);
    EXPECT_EQ(BuildDataFolder("", kProductVariants[0]), "");
    // Cut to the 400-byte buffer, as every fixed path buffer is.
    EXPECT_EQ(BuildDataFolder(std::string(500, 'x'), kProductVariants[0]).size(), 399u);
    std::string system = ApplicationDataFolder();
    EXPECT_EQ(BuildDataFolder(kProductVariants[1]),
              system.empty() ? "" : system + s + "Dovrin Base" + s);
}

}  // namespace
