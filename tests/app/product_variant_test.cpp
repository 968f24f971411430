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

TEST(ProductVariant, TableRows) {
    struct {
        const char* title;
        const char* exe;
        const char* sw;
        const char* product;
        const char* ext;
    } rows[] = {
        {"Dovrin Suite Scheduler", "dovsuite.exe", "-process", "Dovrin Suite", "dvs"},
        {"Dovrin Base Scheduler", "dovbase.exe", "-process", "Dovrin Base", "dvb"},
        {"Dovrin Lens Scheduler", "dovlens.exe", "-storage", "Dovrin Lens", "dvl"},
        {"Dovrin Depot Scheduler", "dovdepot.exe", "-process", "Dovrin Depot", "dvp"},
    };
    for (int i = 0; i < kProductVariantCount; ++i) {
        const ProductVariant& v = kProductVariants[i];
        EXPECT_STREQ(v.title, rows[i].title);
        EXPECT_STREQ(v.exeName, rows[i].exe);
        EXPECT_STREQ(v.defaultSwitch, rows[i].sw);
        EXPECT_STREQ(v.productName, rows[i].product);
        EXPECT_EQ(v.parametersFlag, 1);
        std::string stem = std::string(rows[i].exe, std::string(rows[i].exe).size() - 4);
        EXPECT_EQ(std::string(v.helpTopic), stem + ".chm::/Scheduler.html");
        std::string filter = std::string(rows[i].product) + " workspace (*." + rows[i].ext +
                             ")|*." + rows[i].ext + "|All Files (*.*)|*.*||";
        EXPECT_EQ(std::string(v.fileFilter), filter);
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
