#include "app/product_variant.h"

#include <strings.h>

#include "engine/bounded_text.h"
#include "platform/directory_listing.h"

const ProductVariant kProductVariants[kProductVariantCount] = {
    {"Dovrin Suite Scheduler", "dovsuite.exe",
     "Dovrin Suite workspace (*.dvs)|*.dvs|All Files (*.*)|*.*||", 1, "-process",
     "dovsuite.chm::/Scheduler.html", "Dovrin Suite"},
    {"Dovrin Base Scheduler", "dovbase.exe",
     "Dovrin Base workspace (*.dvb)|*.dvb|All Files (*.*)|*.*||", 1, "-process",
     "dovbase.chm::/Scheduler.html", "Dovrin Base"},
    {"Dovrin Lens Scheduler", "dovlens.exe",
     "Dovrin Lens workspace (*.dvl)|*.dvl|All Files (*.*)|*.*||", 1, "-storage",
     "dovlens.chm::/Scheduler.html", "Dovrin Lens"},
    {"Dovrin Depot Scheduler", "dovdepot.exe",
     "Dovrin Depot workspace (*.dvp)|*.dvp|All Files (*.*)|*.*||", 1, "-process",
     "dovdepot.chm::/Scheduler.html", "Dovrin Depot"},
};

namespace {
const ProductVariant* g_active = &kProductVariants[0];
}

const ProductVariant& DetectVariant(const char* programFolder, DirectoryLister& lister) {
    char pattern[260];
    boundedCopy(pattern, sizeof pattern, programFolder);
    boundedAppend(pattern, sizeof pattern, "*.exe");
    const ProductVariant* found = &kProductVariants[0];
    lister.List(pattern, [&](const DirectoryItem& item) {
        if (item.isFolder) {
            return true;
        }
        for (const ProductVariant& v : kProductVariants) {
            if (strcasecmp(item.name.c_str(), v.exeName) == 0) {
                found = &v;
                return false;
            }
        }
        return true;
    });
    return *found;
}

const ProductVariant& DetectVariant(const char* programFolder) {
    return DetectVariant(programFolder, SystemDirectoryLister());
}

const ProductVariant& ActiveVariant() {
    return *g_active;
}

void SetActiveVariant(const ProductVariant& variant) {
    g_active = &variant;
}
