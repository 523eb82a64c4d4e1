#include "wizard/AttributeWalk.h"

#include "wizard/FolderPath.h"

#include "classlib/ScopedHandle.h"

namespace {

const DWORD kCleared = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

void ClearAttributes(const std::string& path, DWORD attributes)
{
    if (attributes & kCleared)
        SetFileAttributesA(path.c_str(), attributes & ~kCleared);
}

class Walker
{
public:
    explicit Walker(const std::atomic<long>* cancel) : m_cancel(cancel) {}

    AttributeWalkResult result;

    bool Walk(const std::string& folder)
    {
        WIN32_FIND_DATAA entry;
        const ScopedFindHandle find(FindFirstFileA(JoinPath(folder, "*.*").c_str(), &entry));
        if (!find)
        {
            // An empty drive root has no "." entry, so its listing finds nothing at all.
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || Fail(folder, error);
        }
        bool going = true;
        do
        {
            if (Cancelled())
            {
                going = false;
                break;
            }
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = JoinPath(folder, name);
            const bool isFolder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
            const bool isLink = entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
            if (isFolder && !isLink && !Walk(path))
            {
                going = false;
                break;
            }
            ClearAttributes(path, entry.dwFileAttributes);
        } while (FindNextFileA(find.Get(), &entry));
        const DWORD error = going ? GetLastError() : ERROR_SUCCESS;
        // A listing that stops early with an error has not seen the whole folder.
        if (going && error != ERROR_NO_MORE_FILES)
            return Fail(folder, error);
        return going;
    }

private:
    bool Cancelled()
    {
        if (!m_cancel || m_cancel->load() == 0)
            return false;
        result.outcome = AttributeWalkResult::Outcome::Cancelled;
        return true;
    }

    bool Fail(const std::string& folder, DWORD error)
    {
        result.outcome = AttributeWalkResult::Outcome::Failed;
        result.folder = folder;
        result.error = error;
        return false;
    }

    const std::atomic<long>* m_cancel;
};

}  // namespace

AttributeWalkResult ClearAttributesRecursive(const std::string& folder, const std::atomic<long>* cancel)
{
    Walker walker(cancel);
    if (folder.empty())
        walker.result = {AttributeWalkResult::Outcome::Failed, folder, ERROR_PATH_NOT_FOUND};
    else
        walker.Walk(folder);
    return walker.result;
}
