#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "text/codec.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace testing_support {

namespace {
std::atomic<int> counter{0};
}

TempFolder::TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
    for (char& c : name) {
        if (c == '/') c = '_';
    }
#ifdef _WIN32
    const long pid = 0;
#else
    const long pid = static_cast<long>(::getpid());
#endif
    path_ = std::filesystem::temp_directory_path() /
            ("dasom-" + std::to_string(pid) + "-" + std::to_string(counter++) + "-" + name);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Tests may have made files read-only; make everything writable again before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string cp949_lines(std::string_view utf8_text) {
    std::string crlf;
    for (char c : utf8_text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return text::from_utf8(crlf).bytes;
}

std::string k(std::string_view utf8) { return text::cp949(utf8); }

void TempFolder::write(std::string_view name, std::string_view utf8_text) const {
    write_bytes(name, cp949_lines(utf8_text));
}

void TempFolder::write_bytes(std::string_view name, std::string_view bytes) const {
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::read_bytes(std::string_view name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string TempFolder::read(std::string_view name) const {
    std::string utf8 = text::to_utf8(read_bytes(name));
    std::string lf;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        lf += utf8[i];
    }
    return lf;
}

void TempFolder::copy_fixture(std::string_view fixture) const {
    const std::filesystem::path source = std::filesystem::path(DASOM_TEST_DATA) / fixture;
    for (const auto& entry : std::filesystem::directory_iterator(source)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream utf8;
        utf8 << in.rdbuf();
        write(entry.path().filename().string(), utf8.str());
    }
}

}  // namespace testing_support
