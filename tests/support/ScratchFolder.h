#pragma once

#include <cstddef>
#include <string>

// A fresh folder under /tmp ("/tmp/corvel_<tag>_XXXXXX") for what a test writes. It goes, with
// everything written into it, when the helper goes or when Remove is called; nothing is run
// through a shell.
class ScratchFolder
{
public:
    explicit ScratchFolder(const char *pTag);
    ~ScratchFolder();

    // False when the folder could not be made; Path is then empty.
    bool IsMade() const { return !mPath.empty(); }
    const std::string &Path() const { return mPath; }
    // The path of an entry inside the folder.
    std::string File(const char *pName) const;

    // Writes the bytes (or the text without its terminator) to a file of that name inside the
    // folder, replacing one that is there; false when any step fails.
    bool Write(const char *pName, const void *pBytes, size_t pCount) const;
    bool WriteText(const char *pName, const char *pText) const;

    // Removes the folder and all it holds now; true when nothing of it is left. Once it is
    // gone, later calls and the destructor do nothing; Path still names where it was.
    bool Remove();

private:
    std::string mPath;
    bool mRemoved;

    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;
};
