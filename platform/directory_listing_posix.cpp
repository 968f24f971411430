#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/directory_listing.h"

namespace {
class PosixDirectoryLister : public DirectoryLister {
public:
    void List(const char* pattern, const Visitor& visit) override {
        std::string whole(pattern ? pattern : "");
        size_t cut = whole.find_last_of("/\\");
        std::string folder = cut == std::string::npos ? "." : whole.substr(0, cut + 1);
        std::string filePattern = cut == std::string::npos ? whole : whole.substr(cut + 1);
        DIR* dir = opendir(folder.c_str());
        if (dir == nullptr) {
            return;
        }
        while (dirent* d = readdir(dir)) {
            if (!WildcardMatch(filePattern.c_str(), d->d_name)) {
                continue;
            }
            DirectoryItem item;
            item.name = d->d_name;
            struct stat st {};
            std::string full = folder + d->d_name;
            item.isFolder = stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            if (!visit(item)) {
                break;
            }
        }
        closedir(dir);
    }
};
}  // namespace

DirectoryLister& SystemDirectoryLister() {
    static PosixDirectoryLister lister;
    return lister;
}
