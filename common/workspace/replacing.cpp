// WriteFileReplacing and ReplacingBatch: the one way the programs replace a
// file of the user's.
#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
constexpr std::string_view kPartEnding = ".part";

// The hidden names of target's part files are this, a number, then ".part".
std::string PartNamePrefix(const fs::path& target) {
  const std::string name = target.filename().string();
  return "." + std::string(text::CutAtCharacter(name, kNameBytesRepeated)) + ".";
}

fs::path HiddenNameBeside(const fs::path& target) {
  const auto tag = static_cast<unsigned>(platform::RandomUnit() * 1e9);
  return target.parent_path() / (PartNamePrefix(target) + std::to_string(tag) + ".part");
}

bool IsPartNameOf(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix) || !name.ends_with(kPartEnding)) return false;
  const std::string_view tag =
      name.substr(prefix.size(), name.size() - prefix.size() - kPartEnding.size());
  return !tag.empty() &&
         std::all_of(tag.begin(), tag.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::symlink_status(path, ec));
}

// Removes the name of a part file at once, then wipes its bytes through the
// file still open: an end of the program that comes meanwhile leaves no name
// behind. Failures are ignored, as for DiscardFile.
void RemoveThenWipe(io::File part) noexcept {
  try {
    io::Remove(part.path());
    OverwriteAndClose(part);
  } catch (const Failure&) {
  }
}

void DiscardPart(const fs::path& path) noexcept {
  try {
    if (IsRegularFile(path)) RemoveThenWipe(io::File(path, io::OpenMode::kReadWrite));
  } catch (const Failure&) {
  }
}

// The part files that runs which were killed left in one folder: hidden
// names that no one holds locked. Each is wiped and removed by the next
// replacement of its target; the folder is listed once.
class AbandonedParts {
 public:
  explicit AbandonedParts(const fs::path& folder) : folder_(folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::string name = it->path().filename().string();
      if (name.starts_with('.') && name.ends_with(kPartEnding)) names_.push_back(std::move(name));
    }
  }

  // Removes those of target, leaving alone the ones that a running program
  // still writes. Failures are ignored: the replacement itself goes on.
  void RemoveFor(const fs::path& target) noexcept {
    const std::string prefix = PartNamePrefix(target);
    std::erase_if(names_, [&](const std::string& name) {
      if (!IsPartNameOf(name, prefix)) return false;
      if (std::optional<io::File> part = io::File::OpenAbandoned(folder_ / name)) {
        RemoveThenWipe(std::move(*part));
      }
      return true;
    });
  }

 private:
  fs::path folder_;
  std::vector<std::string> names_;
};

// The new content of target until it takes target's place, locked for as
// long as it is open. Where the file system allows, it is an unnamed file,
// which nothing can leave behind; else a hidden file beside target, removed
// when anything fails and when the program is ended meanwhile. An unnamed
// file that cannot be linked as target itself (a file cannot be linked over
// another) gets a hidden name only to be renamed over target at once. A
// hidden file that a killed run leaves is unlocked: the next replacement of
// the same target removes it (AbandonedParts).
class PartFile {
 public:
  PartFile(const fs::path& given, const fs::path& target);
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;
  ~PartFile();

  const fs::path& given() const { return given_; }
  io::File& file() { return file_; }
  // Puts the complete file, flushed to disk, in target's place; the former
  // file's bytes are wiped when no other name links to them.
  void ReplaceTarget();

 private:
  // Names the file through make(candidate), which is false when candidate
  // was taken, retrying with other names.
  template <typename Make>
  void NameHidden(Make make);

  fs::path given_;   // the target as the caller named it
  fs::path target_;  // the file that writing to it reaches
  io::File file_;
  fs::path name_;  // the hidden name, once the file has one
  EndCleanup cleanup_;
};

PartFile::PartFile(const fs::path& given, const fs::path& target) : given_(given), target_(target) {
  if (std::optional<io::File> unnamed = io::File::CreateUnnamedBeside(target)) {
    file_ = std::move(*unnamed);
    file_.Lock();
    return;
  }
  NameHidden([this](const fs::path& candidate) {
    file_ = io::File(candidate, io::OpenMode::kCreateExclusiveShared);
    file_.Lock();
    // Between its making and its locking, another run may have taken the
    // new file for an abandoned one and removed it.
    return file_.LinkCount() > 0;
  });
}

PartFile::~PartFile() {
  if (!name_.empty()) DiscardPart(name_);
  file_ = io::File();
}

template <typename Make>
void PartFile::NameHidden(Make make) {
  for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
    const fs::path candidate = HiddenNameBeside(target_);
    bool made = false;
    try {
      made = make(candidate);
    } catch (const Failure&) {
      if (attempt == kNameAttempts || !io::Exists(candidate)) throw;
    }
    if (made) {
      name_ = candidate;
      // Registered once the name is ours; should the program be ending
      // already, the clean-up runs at once.
      cleanup_ = EndCleanup([candidate] { DiscardPart(candidate); });
      return;
    }
  }
  throw Failure(error_number::kPathFileAccess, "No free name beside " + target_.string());
}

void PartFile::ReplaceTarget() {
  if (name_.empty() && file_.LinkAs(target_)) {
    file_.Close();
    return;
  }
  if (name_.empty()) {
    NameHidden([this](const fs::path& candidate) { return file_.LinkAs(candidate); });
  }
  // Opened before the rename, to reach the former bytes once their name is
  // gone; a file that may not be written is not replaced either.
  std::optional<io::File> former;
  if (IsRegularFile(target_)) former.emplace(target_, io::OpenMode::kReadWrite);
  // From here on the end of the program leaves the hidden name to the next
  // replacement of target: a clean-up must never race the rename.
  cleanup_ = EndCleanup();
  io::Rename(name_, target_);
  name_.clear();
  file_.Close();
  if (former && former->LinkCount() == 0) OverwriteAndClose(*former);
}

}  // namespace

struct ReplacingBatch::Waiting {
  std::map<fs::path, AbandonedParts> abandoned;  // by folder, listed at first use
  std::vector<std::unique_ptr<PartFile>> parts;
};

ReplacingBatch::ReplacingBatch() : waiting_(std::make_unique<Waiting>()) {}

ReplacingBatch::~ReplacingBatch() = default;

void ReplacingBatch::Add(const fs::path& target, const std::function<void(io::File&)>& write) {
  if (waiting_->parts.size() >= kMostWaitingFiles) Commit();
  const fs::path reached = io::FollowLinksForWriting(target);
  const fs::path folder = reached.parent_path();
  auto abandoned = waiting_->abandoned.find(folder);
  if (abandoned == waiting_->abandoned.end()) {
    abandoned = waiting_->abandoned.emplace(folder, AbandonedParts(folder)).first;
  }
  abandoned->second.RemoveFor(reached);
  auto part = std::make_unique<PartFile>(target, reached);
  part->file().TakePermissionsOf(reached);
  write(part->file());
  // The disk may start on it while the next file is written.
  part->file().StartWriteback(0, part->file().Size());
  waiting_->parts.push_back(std::move(part));
}

bool ReplacingBatch::Holds(const fs::path& target) const {
  return std::any_of(waiting_->parts.begin(), waiting_->parts.end(),
                     [&](const auto& part) { return part->given() == target; });
}

void ReplacingBatch::Commit() {
  std::vector<std::unique_ptr<PartFile>> parts = std::move(waiting_->parts);
  waiting_->parts.clear();
  std::vector<io::File*> files;
  for (const auto& part : parts) files.push_back(&part->file());
  io::File::SyncTogether(files);
  for (const auto& part : parts) part->ReplaceTarget();
}

void WriteFileReplacing(const fs::path& target, const std::function<void(io::File&)>& write) {
  ReplacingBatch batch;
  batch.Add(target, write);
  batch.Commit();
}

}  // namespace pivolane::workspace
