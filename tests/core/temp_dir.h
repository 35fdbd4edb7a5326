#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace ohmtrim::testing {

// A fresh directory for one test, removed again at the end. The name holds
// the test's name, the process id and a counter, so that parallel test runs
// never share a directory.
class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "ohmtrim-";
        if (info != nullptr)
            name += std::string(info->test_suite_name()) + "-" + info->name() + "-";
        for (char& c : name)
            if (c == '/' || c == '\\')
                c = '_';
        name += std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

    // Writes a file of this directory and returns its path.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const;

private:
    std::filesystem::path m_path;
};

inline void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::filesystem::path TempDir::Write(std::string_view name, std::string_view bytes) const {
    const auto file = m_path / name;
    WriteFile(file, bytes);
    return file;
}

inline std::string TempDir::Read(std::string_view name) const {
    return ReadFile(m_path / name);
}

// Text of a value-set file with the given label and the values R1..Rn.
inline std::string ValueSetText(std::string_view label, std::initializer_list<const char*> values,
                                std::string_view extra = {}) {
    std::string s = "[Resistors]\nLabel=" + std::string(label) +
                    "\nMinIndex=1\nMaxIndex=" + std::to_string(values.size()) + "\n";
    int n = 1;
    for (const char* v : values)
        s.append("R").append(std::to_string(n++)).append("=").append(v).append("\n");
    s += extra;
    return s;
}

} // namespace ohmtrim::testing
