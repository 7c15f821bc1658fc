// A folder of its own inside the system's temporary folder, for files that a child reads:
// its name is random (nobody can guess it and plant a file beside ours, such as a script
// that the child's loader would run), only the current user may open it, and it goes with
// everything in it when its owner goes. While its owner lives, a file in it is held open
// without delete sharing: a folder whose file can be deleted was left by a process that
// died, and the next start removes it.
#pragma once

#include "common/handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace quill {

// Security for a new folder: full access for the current user, passed on to every file and
// folder made inside, and nothing inherited from the parent folder. Where the file system
// keeps no access lists (Wine maps them to Unix permissions) the user still is the only one
// with access beyond the group.
class UserOnlySecurity {
  public:
    // False, with the system's last error set, when the descriptor cannot be made.
    bool init();
    SECURITY_ATTRIBUTES *attributes() { return &attributes_; }

  private:
    std::vector<unsigned char> tokenUser_;
    std::vector<unsigned char> acl_;
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {};
};

class PrivateTempFolder {
  public:
    PrivateTempFolder() = default;
    ~PrivateTempFolder() { remove(); }
    PrivateTempFolder(const PrivateTempFolder &) = delete;
    PrivateTempFolder &operator=(const PrivateTempFolder &) = delete;

    // Creates "<temporary folder>Quillcheck-<32 random hex digits>" with the file that marks
    // it as in use. False after one diagnostic line on standard output, `tempPathFailure`
    // when the temporary folder itself cannot be named.
    bool create(const char *tempPathFailure);

    // The folder with its trailing backslash; empty before create().
    const std::string &path() const { return path_; }

    // Deletes everything in the folder and the folder itself.
    void remove();

  private:
    std::string path_;
    UniqueHandle inUse_;
};

// Removes the private folders in the temporary folder that no living process owns: those
// named exactly as create() names them whose in-use file can be deleted. Folders in use,
// folders without the in-use file and links (which are never followed) are not touched.
void removeAbandonedPrivateFolders();

} // namespace quill
