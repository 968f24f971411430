#include "app/product_variant.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/directory_listing.h"
#include "tests/support/temp_dir.h"

namespace {
// Hands out a fixed listing and remembers the pattern it was asked for.
class FakeLister : public DirectoryLister {
public:
    explicit FakeLister(std::vector<DirectoryItem> items) : items_(std::move(items)) {}
    void List(const char* pattern, const Visitor& visit) override {
        pattern_ = pattern;
        for (const DirectoryItem& item : items_) {
            ++visited_;
            if (!visit(item)) {
                return;
            }
        }
    }
    std::string pattern_;
    int visited_ = 0;

private:
    std::vector<DirectoryItem> items_;
};
}  // namespace

// The workspace filters reach the browse dialog as they stand; a slip in one hides files.
TEST(ProductVariant, WorkspaceFiltersAndParameters) {
    const char* const filters[] = {
        "Dovrin Suite workspace (*.dvs)|*.dvs|All Files (*.*)|*.*||",
        "Dovrin Base workspace (*.dvb)|*.dvb|All Files (*.*)|*.*||",
        "Dovrin Lens workspace (*.dvl)|*.dvl|All Files (*.*)|*.*||",
        "Dovrin Depot workspace (*.dvp)|*.dvp|All Files (*.*)|*.*||",
    };
    for (int i = 0; i < kProductVariantCount; ++i) {
        EXPECT_STREQ(kProductVariants[i].fileFilter, filters[i]);
        EXPECT_EQ(kProductVariants[i].parametersFlag, 1);
    }
}

TEST(ProductVariant, DetectionOverListings) {
    struct Case {
        const char* name;
        std::vector<DirectoryItem> items;
        int row;
    } cases[] = {
        {"none", {}, 0},
        {"other executables", {{"setup.exe", false}, {"tool.exe", false}}, 0},
        {"lens in capitals", {{"readme.exe", false}, {"DOVLENS.EXE", false}}, 2},
        {"folder named like base", {{"dovbase.exe", true}}, 0},
        {"folder skipped, file counts", {{"dovbase.exe", true}, {"dovdepot.exe", false}}, 3},
        {"first listed wins", {{"dovdepot.exe", false}, {"dovsuite.exe", false}}, 3},
        {"first listed wins again", {{"DovBase.exe", false}, {"dovlens.exe", false}}, 1},
    };
    for (Case& c : cases) {
        FakeLister lister(c.items);
        const ProductVariant& v = DetectVariant("C:\\Program Files\\Dovrin\\", lister);
        EXPECT_EQ(&v, &kProductVariants[c.row]) << c.name;
        EXPECT_EQ(lister.pattern_, "C:\\Program Files\\Dovrin\\*.exe") << c.name;
    }
}

TEST(ProductVariant, DetectionStopsAtTheFirstMatch) {
    FakeLister lister({{"dovlens.exe", false}, {"dovbase.exe", false}, {"x.exe", false}});
    DetectVariant("/opt/dovrin/", lister);
    EXPECT_EQ(lister.visited_, 1);
}

TEST(ProductVariant, DetectionInARealFolder) {
    struct Case {
        std::vector<const char*> files;
        std::vector<const char*> folders;
        int row;
    } cases[] = {
        {{}, {}, 0},
        {{"DovLens.EXE", "notes.txt"}, {}, 2},
        {{"dovlens.exe.txt"}, {"dovbase.exe"}, 0},
        {{"dovdepot.exe"}, {"dovbase.exe"}, 3},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const char* f : c.files) {
            dir.Write(f, "MZ");
        }
        for (const char* f : c.folders) {
            dir.MakeFolder(f);
        }
        EXPECT_EQ(&DetectVariant(dir.Path().c_str()), &kProductVariants[c.row]);
    }
}
