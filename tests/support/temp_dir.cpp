#include "tests/support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::random_device rd;
    std::mt19937_64 gen(rd());
    fs::path base = fs::temp_directory_path();
    for (;;) {
        std::ostringstream name;
        name << "sched-test-" << std::hex << gen();
        fs::path p = base / name.str();
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p.string() + static_cast<char>(fs::path::preferred_separator);
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TempDir::Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TempDir::Exists(const std::string& name) const {
    return fs::exists(File(name));
}

void TempDir::MakeFolder(const std::string& name) const {
    fs::create_directories(File(name));
}
