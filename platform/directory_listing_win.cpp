#include <windows.h>

#include "platform/directory_listing.h"

namespace {
class WinDirectoryLister : public DirectoryLister {
public:
    void List(const char* pattern, const Visitor& visit) override {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pattern, &data);
        if (find == INVALID_HANDLE_VALUE) {
            return;
        }
        do {
            DirectoryItem item;
            item.name = data.cFileName;
            item.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (!visit(item)) {
                break;
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
};
}  // namespace

DirectoryLister& SystemDirectoryLister() {
    static WinDirectoryLister lister;
    return lister;
}
