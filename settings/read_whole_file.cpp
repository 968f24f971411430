#include "settings/read_whole_file.h"

#include <cstdio>
#include <memory>

#include "diag/report.h"
#include "platform/regular_file.h"

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

std::string translateTextMode(const char* data, std::size_t size) {
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        char c = data[i];
        if (c == '\x1A') {
            break;
        }
        if (c == '\r' && i + 1 < size && data[i + 1] == '\n') {
            continue;  // the LF that follows stands for the pair
        }
        text += c;
    }
    return text;
}

bool readWholeFile(const std::string& path, std::uint32_t level, std::string& text) {
    text.clear();
    // Anything but a regular file (a FIFO would block the start, /dev/zero never ends) is a
    // file that cannot be opened.
    std::unique_ptr<std::FILE, FileCloser> file(OpenRegularFile(path));
    if (!file) {
        ReportMessagef(level, "Cannot open file '%s'", path.c_str());
        return false;
    }
    std::string bytes;
    bool failed = false;
    try {
        char chunk[65536];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
            bytes.append(chunk, n);
        }
        failed = std::ferror(file.get()) != 0;
        text = translateTextMode(bytes.data(), bytes.size());
    } catch (const std::bad_alloc&) {
        return false;  // no memory for the buffer: no report
    }
    if (failed || (!bytes.empty() && text.empty())) {
        ReportMessagef(level, "Could not read from file '%s'.", path.c_str());
        text.clear();
        return false;
    }
    return true;
}
