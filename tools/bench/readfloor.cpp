// readfloor SOURCE_DIR OUTPUT
// The least an image build can ask of Windows: walk SOURCE_DIR with FindFirstFile, open and read every file
// once, and write as many bytes to OUTPUT (each file rounded up to whole 2048-byte sectors, as in an image)
// through the same 10 MiB buffer and write slices as isobuild. The benchmark's yardstick under Wine, where
// no native image tool runs. Top-level names beginning with "." are skipped, as isobuild skips them.
#include "isowriter/StarBurn.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr DWORD kChunk = 10u * 1024 * 1024;
constexpr unsigned long long kSector = 2048;

class Copier
{
public:
    Copier(HANDLE output) : output_(output), buffer_(std::make_unique<char[]>(kChunk)) {}

    bool walk(const std::wstring& folder, bool topLevel)
    {
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE)
            return fail("FindFirstFile", folder);
        bool ok = true;
        do
        {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L".." || (topLevel && name[0] == L'.'))
                continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ok = walk(path, false);
            else
                ok = copy(path, (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow);
        } while (ok && FindNextFileW(find, &fd));
        FindClose(find);
        return ok;
    }

    bool finish() { return flush(); }
    unsigned long long files() const { return files_; }
    unsigned long long written() const { return written_; }

private:
    bool copy(const std::wstring& path, unsigned long long size)
    {
        ++files_;
        if (size == 0)
            return true;  // an empty file has no data in an image either: isobuild does not open it
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return fail("CreateFile", path);
        bool ok = true;
        for (unsigned long long left = size; ok && left > 0;)
        {
            if (used_ == kChunk && !flush())
            {
                ok = false;
                break;
            }
            const DWORD ask = static_cast<DWORD>(std::min<unsigned long long>(left, kChunk - used_));
            DWORD got = 0;
            if (!ReadFile(file, buffer_.get() + used_, ask, &got, nullptr) || got != ask)
            {
                ok = fail("ReadFile", path);
                break;
            }
            used_ += got;
            left -= got;
        }
        CloseHandle(file);
        // Zeros up to the sector's end, as the image has them.
        for (unsigned long long pad = (kSector - size % kSector) % kSector; ok && pad > 0;)
        {
            if (used_ == kChunk && !flush())
                return false;
            const DWORD n = static_cast<DWORD>(std::min<unsigned long long>(pad, kChunk - used_));
            std::memset(buffer_.get() + used_, 0, n);
            used_ += n;
            pad -= n;
        }
        return ok;
    }

    bool flush()
    {
        for (DWORD at = 0; at < used_;)
        {
            const DWORD n = std::min<DWORD>(used_ - at, STARBURN_WRITE_SLICE_BYTES);
            DWORD done = 0;
            if (!WriteFile(output_, buffer_.get() + at, n, &done, nullptr) || done != n)
                return fail("WriteFile", L"the output");
            at += n;
        }
        written_ += used_;
        used_ = 0;
        return true;
    }

    static bool fail(const char* call, const std::wstring& what)
    {
        std::fprintf(stderr, "readfloor: %s failed for %ls (system error %lu)\n", call, what.c_str(), GetLastError());
        return false;
    }

    HANDLE output_;
    std::unique_ptr<char[]> buffer_;
    DWORD used_ = 0;
    unsigned long long files_ = 0;
    unsigned long long written_ = 0;
};

std::wstring wide(const char* text)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], n);
    out.resize(out.size() - 1);
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: readfloor SOURCE_DIR OUTPUT\n");
        return 2;
    }
    std::wstring source = wide(argv[1]);
    while (source.size() > 3 && (source.back() == L'\\' || source.back() == L'/'))
        source.pop_back();
    const auto started = std::chrono::steady_clock::now();
    HANDLE output =
        CreateFileA(argv[2], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
    {
        std::fprintf(stderr, "readfloor: cannot create %s (system error %lu)\n", argv[2], GetLastError());
        return 1;
    }
    Copier copier(output);
    const bool ok = copier.walk(source, true) && copier.finish();
    CloseHandle(output);
    if (!ok)
        return 1;
    std::printf("floor %s: %llu files, %llu bytes written; total %.3f s\n", argv[2], copier.files(), copier.written(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    return 0;
}
