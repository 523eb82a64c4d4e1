// Clears the read-only, hidden and system attributes in a whole folder tree: files copied from a disc are
// read-only, and the writers must replace them.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

struct AttributeWalkResult
{
    enum class Outcome
    {
        Complete,
        Failed,     // a folder of the tree could not be listed: folder and error name it
        Cancelled,  // the cancel flag was raised during the walk
    };
    Outcome outcome = Outcome::Complete;
    std::string folder;
    DWORD error = 0;

    explicit operator bool() const { return outcome == Outcome::Complete; }
};

// Walks the whole tree below folder. A file whose attributes cannot be cleared is passed over (it can still
// be read); a folder that cannot be listed, or a listing that ends with an error, stops the walk. cancel, when
// given, is looked at for every entry, so a walk over a large tree ends as soon as it is raised.
// Links to folders and junctions are not entered (a link can lead back up the tree), but their own
// attributes are cleared.
[[nodiscard]] AttributeWalkResult ClearAttributesRecursive(const std::string& folder,
                                                           const std::atomic<long>* cancel = nullptr);
