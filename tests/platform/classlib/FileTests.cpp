// CFile, CStdioFile and CFileFind against real files in a scratch folder.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using classlib_test::ScratchFolder;

namespace {

std::string ReadBytes(const CString& path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        return "<cannot open>";
    std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
    UINT read = bytes.empty() ? 0 : file.Read(&bytes[0], static_cast<UINT>(bytes.size()));
    bytes.resize(read);
    return bytes;
}

void WriteBytes(const CString& path, const std::string& bytes)
{
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    ASSERT_TRUE(file.Write(bytes.data(), static_cast<UINT>(bytes.size())));
}

}  // namespace

TEST(CStdioFileTest, TextModeWritesCrLfAndReadsLinesBack)
{
    ScratchFolder folder;
    const CString path = folder.File("WINNT.SIF");
    {
        CStdioFile file;
        CFileException error;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText, &error))
            << error.GetErrorMessage().GetString();
        EXPECT_TRUE(file.WriteString("[Unattended]\n"));
        EXPECT_TRUE(file.WriteString("UnattendMode=FullUnattended\n\n"));
        EXPECT_TRUE(file.WriteString("last line without end"));
    }
    EXPECT_EQ(ReadBytes(path), "[Unattended]\r\nUnattendMode=FullUnattended\r\n\r\nlast line without end");

    CStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::typeText));
    std::vector<std::string> lines;
    CString line;
    while (file.ReadString(line))
    {
        lines.emplace_back(line);
        if (lines.size() == 1)
        {
            EXPECT_EQ(file.GetPosition(), 14u);  // the reader's position, not the read-ahead's
        }
    }
    EXPECT_EQ(lines,
              (std::vector<std::string>{"[Unattended]", "UnattendMode=FullUnattended", "", "last line without end"}));
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
}

TEST(CStdioFileTest, LineEndingsByModeAndReader)
{
    ScratchFolder folder;
    const CString path = folder.File("mixed.txt");
    WriteBytes(path, "unix\nwindows\r\nlone\rcr\n");

    struct Case
    {
        UINT mode;
        const char* firstRead;  // ReadString(buffer) keeps the line end, translated in text mode
    };
    for (const Case& c : {Case{CFile::typeText, "unix\n"}, Case{CFile::typeBinary, "unix\n"}})
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeRead | c.mode));
        char buffer[64];
        ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
        EXPECT_STREQ(buffer, c.firstRead);
        ASSERT_NE(file.ReadString(buffer, sizeof buffer), nullptr);
        EXPECT_STREQ(buffer, c.mode == CFile::typeText ? "windows\n" : "windows\r\n");
        CString rest;
        ASSERT_TRUE(file.ReadString(rest));
        EXPECT_STREQ(rest, "lone\rcr");
        EXPECT_EQ(file.ReadString(buffer, sizeof buffer), nullptr);
    }

    // A short buffer splits the line the way fgets does.
    CStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead));
    char small[4];
    ASSERT_NE(file.ReadString(small, sizeof small), nullptr);
    EXPECT_STREQ(small, "uni");

    // Binary mode writes what it is given.
    const CString binaryPath = folder.File("binary.txt");
    {
        CStdioFile out;
        ASSERT_TRUE(out.Open(binaryPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        out.WriteString("a\nb\r\n");
    }
    EXPECT_EQ(ReadBytes(binaryPath), "a\nb\r\n");
}

TEST(CFileTest, ReadWriteSeekAndLength)
{
    ScratchFolder folder;
    const CString path = folder.File("data.bin");
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_STREQ(file.GetFileName(), "data.bin");
    EXPECT_STREQ(file.GetFileTitle(), "data");
    EXPECT_STREQ(file.GetFilePath(), path);

    const char payload[] = "0123456789";
    ASSERT_TRUE(file.Write(payload, 10));
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_EQ(file.GetPosition(), 10u);
    EXPECT_EQ(file.Seek(-4, CFile::current), 6u);
    char four[5] = {};
    EXPECT_EQ(file.Read(four, 4), 4u);
    EXPECT_STREQ(four, "6789");
    EXPECT_EQ(file.Read(four, 4), 0u);  // at the end
    file.SeekToBegin();
    EXPECT_EQ(file.Read(four, 2), 2u);
    EXPECT_EQ(file.SeekToEnd(), 10u);
    EXPECT_TRUE(file.SetLength(4));
    EXPECT_EQ(file.GetLength(), 4u);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadBytes(path), "0123");

    // modeNoTruncate keeps what is there.
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
    file.SeekToEnd();
    file.Write("45", 2);
    file.Close();
    EXPECT_EQ(ReadBytes(path), "012345");

    EXPECT_TRUE(CFile::Rename(path, folder.File("renamed.bin")));
    EXPECT_TRUE(CFile::Remove(folder.File("renamed.bin")));
    EXPECT_FALSE(CFile::Remove(folder.File("renamed.bin")));
}

TEST(CFileTest, FailuresAreReportedInTheErrorRecord)
{
    ScratchFolder folder;
    struct Case
    {
        CString path;
        UINT flags;
        int cause;
        LONG osError;
    };
    const Case cases[] = {
        {folder.File("missing.txt"), CFile::modeRead, CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
        {folder.File("no-such-dir\\x.txt"), CFile::modeCreate | CFile::modeWrite, CFileException::badPath,
         ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path.GetString());
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(c.path, c.flags, &error));
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(error.m_cause, c.cause);
        EXPECT_EQ(error.m_lOsError, c.osError);
        EXPECT_EQ(error.m_strFileName, c.path);
        EXPECT_EQ(file.GetError().m_cause, c.cause);
        EXPECT_NE(error.GetErrorMessage().Find(c.path), -1);
    }
}

TEST(CFileFindTest, WalksAFolderWithWildcards)
{
    ScratchFolder folder;
    WriteBytes(folder.File("a.txt"), "abc");
    WriteBytes(folder.File("b.txt"), std::string(1234, 'x'));
    WriteBytes(folder.File("c.log"), "log");
    ASSERT_TRUE(::CreateDirectoryA(folder.File("sub"), nullptr));

    struct Entry
    {
        std::string name;
        bool directory;
        bool dots;
        ULONGLONG length;
        std::string path;
    };
    auto find = [](const CString& pattern) {
        std::vector<Entry> entries;
        CFileFind finder;
        for (BOOL more = finder.FindFile(pattern); more;)
        {
            more = finder.FindNextFile();
            entries.push_back({std::string(finder.GetFileName()), finder.IsDirectory() != FALSE,
                               finder.IsDots() != FALSE, finder.GetLength(), std::string(finder.GetFilePath())});
        }
        return entries;
    };

    std::set<std::string> texts;
    for (const Entry& e : find(folder.Path() + "\\*.txt"))
    {
        texts.insert(e.name);
        EXPECT_FALSE(e.directory);
        EXPECT_EQ(e.path, std::string(folder.File(e.name.c_str())));
        EXPECT_EQ(e.length, e.name == "a.txt" ? 3u : 1234u);
    }
    EXPECT_EQ(texts, (std::set<std::string>{"a.txt", "b.txt"}));

    std::set<std::string> all;
    int dots = 0;
    for (const Entry& e : find(folder.Path() + "\\*.*"))
    {
        if (e.dots)
        {
            ++dots;
            continue;
        }
        all.insert(e.name + (e.directory ? "/" : ""));
    }
    EXPECT_EQ(dots, 2);
    EXPECT_EQ(all, (std::set<std::string>{"a.txt", "b.txt", "c.log", "sub/"}));

    CFileFind finder;
    EXPECT_FALSE(finder.FindFile(folder.Path() + "\\*.none"));
    EXPECT_FALSE(finder.FindNextFile());
}

TEST(CFileFindTest, ReportsLengthsPastFourGigabytes)
{
    ScratchFolder folder;
    const CString path = folder.File("image.iso");
    const ULONGLONG size = (5ULL << 30) + 17;  // sparse: nothing is written
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
        ASSERT_TRUE(file.SetLength(size));
        EXPECT_EQ(file.GetLength(), size);
    }
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile(path));
    finder.FindNextFile();
    EXPECT_STREQ(finder.GetFileName(), "image.iso");
    EXPECT_EQ(finder.GetLength(), size);
}
