// Paths in the form the operating system takes them (UTF-16 on Windows, bytes on POSIX) and the
// conversions between them, the caller's char strings and the image's UTF-16 names.
#pragma once

#include <string>
#include <string_view>

namespace osm::iso {

#ifdef _WIN32
using NativeString = std::wstring;
#else
using NativeString = std::string;
#endif
using NativeChar = NativeString::value_type;
using NativeStringView = std::basic_string_view<NativeChar>;

class NativePath
{
public:
    // A caller's path or name: ANSI code page on Windows, UTF-8 on POSIX.
    static NativeString fromApi(const char* text);
    // Back into the caller's encoding, for messages; characters the code page lacks become '?'.
    static std::string toApi(const NativeString& path);
    // The path in quotes, for the messages that name it.
    static std::string quoted(const NativeString& path) { return "'" + toApi(path) + "'"; }

    // UTF-16 of a name, for Joliet. Bytes that are not UTF-8 become '_'.
    static std::u16string toUtf16(NativeStringView name);
    static NativeString fromUtf16(const std::u16string& name);

    // Absolute form with "." and ".." resolved and no trailing separator (except a root).
    static NativeString absolute(const NativeString& path);
    static NativeString join(const NativeString& folder, NativeStringView name);
    // join, in place.
    static void append(NativeString& folder, NativeStringView name);
    static NativeString lastComponent(const NativeString& path);

    // Key under which two spellings of one absolute path compare equal (case-insensitive on Windows).
    static NativeString comparisonKey(const NativeString& absolutePath);

    // The form handed to the system calls: on Windows long absolute paths get the \\?\ prefix so the
    // 260-character limit does not apply.
    static NativeString forSystem(const NativeString& absolutePath);
    // Whether forSystem gives another form of the path.
    static bool needsLongForm(const NativeString& absolutePath);
};

}  // namespace osm::iso
