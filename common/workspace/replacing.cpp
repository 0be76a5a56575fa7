// WriteFileReplacing: the one way the programs replace a file of the user's.
#include <optional>
#include <string>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/platform/platform.h"
#include "common/text/utf8.h"
#include "common/workspace/end_cleanup.h"
#include "common/workspace/workspace.h"

namespace pivolane::workspace {

namespace {

// Bytes of the target's name that a hidden name beside it repeats: with the
// rest, it stays well within the file system's name limit.
constexpr std::size_t kNameBytesRepeated = 200;
constexpr int kNameAttempts = 20;

fs::path HiddenNameBeside(const fs::path& target) {
  const auto tag = static_cast<unsigned>(platform::RandomUnit() * 1e9);
  const std::string name = target.filename().string();
  const std::string stem(text::CutAtCharacter(name, kNameBytesRepeated));
  return target.parent_path() / ("." + stem + "." + std::to_string(tag) + ".part");
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::symlink_status(path, ec));
}

// The new content of target until it takes target's place. Where the file
// system allows, it is an unnamed file, which nothing can leave behind; else
// a hidden file beside target, removed when anything fails and when the
// program is ended meanwhile. An unnamed file gets a hidden name only to be
// renamed over target at once (a file cannot be linked over another).
class PartFile {
 public:
  explicit PartFile(const fs::path& target);
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;
  ~PartFile();

  io::File& file() { return file_; }
  // Puts the complete file in target's place; the former file's bytes are
  // wiped when no other name links to them.
  void ReplaceTarget();

 private:
  // Makes the file named candidate through make, retrying with other names
  // while the name is taken.
  template <typename Make>
  void NameHidden(Make make);

  fs::path target_;
  io::File file_;
  fs::path name_;  // the hidden name, once the file has one
  EndCleanup cleanup_;
};

PartFile::PartFile(const fs::path& target) : target_(target) {
  if (std::optional<io::File> unnamed = io::File::CreateUnnamedBeside(target)) {
    file_ = std::move(*unnamed);
    return;
  }
  NameHidden([this](const fs::path& candidate) {
    file_ = io::File(candidate, io::OpenMode::kCreateExclusiveShared);
  });
}

PartFile::~PartFile() {
  file_ = io::File();
  if (!name_.empty()) DiscardFile(name_);
}

template <typename Make>
void PartFile::NameHidden(Make make) {
  for (int attempt = 1;; ++attempt) {
    const fs::path candidate = HiddenNameBeside(target_);
    try {
      make(candidate);
    } catch (const Failure&) {
      if (attempt >= kNameAttempts || !io::Exists(candidate)) throw;
      continue;
    }
    name_ = candidate;
    cleanup_ = EndCleanup([candidate] { DiscardFile(candidate); });
    return;
  }
}

void PartFile::ReplaceTarget() {
  file_.Sync();
  if (name_.empty()) NameHidden([this](const fs::path& candidate) { file_.LinkAs(candidate); });
  file_.Close();
  // Opened before the rename, to reach the former bytes once their name is
  // gone; a file that may not be written is not replaced either.
  std::optional<io::File> former;
  if (IsRegularFile(target_)) former.emplace(target_, io::OpenMode::kReadWrite);
  io::Rename(name_, target_);
  name_.clear();
  cleanup_ = EndCleanup();
  if (former && former->LinkCount() == 0) OverwriteAndClose(*former);
}

}  // namespace

void WriteFileReplacing(const fs::path& target, const std::function<void(io::File&)>& write) {
  const fs::path reached = io::FollowLinksForWriting(target);
  PartFile part(reached);
  part.file().TakePermissionsOf(reached);
  write(part.file());
  part.ReplaceTarget();
}

}  // namespace pivolane::workspace
