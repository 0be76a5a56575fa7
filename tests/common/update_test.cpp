// The update client's core: signatures, the signed manifest, downloaded
// files, listings, version digits, the log and the transfer commands.
#include <gtest/gtest.h>

#include <functional>

#include "common/errors.h"
#include "common/platform/platform.h"
#include "common/update/downloaded_file.h"
#include "common/update/ftp_listing.h"
#include "common/update/lines.h"
#include "common/update/manifest.h"
#include "common/update/minisign.h"
#include "common/update/refusal.h"
#include "common/update/transfer_command.h"
#include "common/update/update_files.h"
#include "common/update/update_log.h"
#include "common/update/version_digits.h"
#include "tests/common/test_support.h"

namespace pivolane::update {
namespace {

// Made with minisign 0.11: two key pairs, a manifest, and its signatures with
// the first key in the prehashed and the legacy form.
constexpr std::string_view kPublisherKey =
    "RWTXxKPA8C8hr7qtmGPWNpmA1XGH/ayVhx/mXwDI1ZBtHbbG0h6/ZBm+";
constexpr std::string_view kOtherKey = "RWShGQrUkN73Rs1u6OYwf/O3JTWnojdAZRnRsvlC0ilJZ1FqwzCuJZoR";
constexpr std::string_view kManifest =
    "pivolane-update 1\n"
    "version 101\n"
    "ec9a6e9fe278eb1a471fbab6f40367d8548078b651d9c71581c57c2a6ca379e0 8 Pivolane.101\n";
constexpr std::string_view kPrehashedSignature =
    "untrusted comment: signature from minisign secret key\n"
    "RUTXxKPA8C8hr0UgGg0zu+ofkAk1VqRUhq1t3AHRcbt+XV1/8yzs6mwkF6+mHJwBPOg0eibtFPzJIFwwSeIWAkgRVX5x"
    "AQuoFAk=\n"
    "trusted comment: pivolane-update 101\n"
    "pVCoQbOtUdhBSryP/ExpJq8IdDZwQLhmKw4zq/1FCILAFG5KmABBwALin9kRTKiy6MTqYPdA/XGIuU2lQBdKDg==\n";
constexpr std::string_view kLegacySignature =
    "untrusted comment: signature from minisign secret key\n"
    "RWTXxKPA8C8hrwTeUZ19IpBOyLXAElVan+1dMd+MhGbIFpRhOLczzKk9QCzU2IzkrEJ3zKLJ8YkYHkXa+dNmwM6L20IG"
    "zAAp6wA=\n"
    "trusted comment: pivolane-update 101\n"
    "vPQPLza//Iyxn6QuSBbM1CV17WPx7Og+QlfmdZAkXN8oa+8OrgekfdJCLJ2qveDYzlMAXIrU8RoayF/B5VDzCQ==\n";

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string result(text);
  result.replace(result.find(from), from.size(), to);
  return result;
}

TEST(UpdateSignature, OnlyThePublishersUntouchedSignatureIsAccepted) {
  struct Case {
    const char* what;
    std::string manifest, signature, key, version;
    bool accepted;
  };
  const std::string manifest(kManifest), prehashed(kPrehashedSignature);
  const Case cases[] = {
      {"prehashed", manifest, prehashed, std::string(kPublisherKey), "101", true},
      {"legacy", manifest, std::string(kLegacySignature), std::string(kPublisherKey), "101", true},
      {"key file", manifest, prehashed,
       "untrusted comment: minisign public key AF212FF0C0A3C4D7\n" + std::string(kPublisherKey) +
           "\n",
       "101", true},
      {"manifest changed", Replaced(manifest, " 8 ", " 9 "), prehashed, std::string(kPublisherKey),
       "101", false},
      {"trusted comment changed", manifest, Replaced(prehashed, "update 101", "update 102"),
       std::string(kPublisherKey), "101", false},
      {"other key", manifest, prehashed, std::string(kOtherKey), "101", false},
      {"no key", manifest, prehashed, "", "101", false},
      {"signature cut", manifest, prehashed.substr(0, prehashed.find("trusted comment:")),
       std::string(kPublisherKey), "101", false},
      {"signature not base64", manifest, Replaced(prehashed, "RUTX", "R*TX"),
       std::string(kPublisherKey), "101", false},
      {"algorithm changed", manifest, Replaced(prehashed, "RUTX", "RWTX"),
       std::string(kPublisherKey), "101", false},
      {"another version offered", manifest, prehashed, std::string(kPublisherKey), "102", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.accepted) {
      const Manifest verified = VerifyManifest(Bytes(c.manifest), c.signature, c.key, c.version);
      ASSERT_EQ(verified.files.size(), 1u);
      EXPECT_EQ(verified.files[0].size, 8u);
      EXPECT_NE(verified.Find("Pivolane.101"), nullptr);
    } else {
      EXPECT_THROW(VerifyManifest(Bytes(c.manifest), c.signature, c.key, c.version), Refusal);
    }
  }
}

TEST(UpdateManifest, ReadsEveryLineAndRefusesAnythingElse) {
  const std::string hash(64, 'a');
  const Manifest manifest = ParseManifest("pivolane-update 1\r\nversion 101\r\n" + hash +
                                          " 0 Pivolane.101\r\n" + hash + " 123456789012 pivedit");
  EXPECT_EQ(manifest.version, "101");
  ASSERT_EQ(manifest.files.size(), 2u);
  EXPECT_EQ(manifest.files[1].name, "pivedit");
  EXPECT_EQ(manifest.files[1].size, 123456789012u);
  EXPECT_EQ(manifest.files[0].sha256[0], 0xAA);
  EXPECT_EQ(manifest.Find("Pivolane"), nullptr);

  const std::string head = "pivolane-update 1\nversion 101\n";
  for (const std::string& text : {
           std::string("pivolane-update 2\nversion 101\n") + hash + " 1 a\n",
           std::string("pivolane-update 1\nversion 1.01\n") + hash + " 1 a\n",
           head,                                        // no file
           head + hash + " 1 a\n\n" + hash + " 1 b\n",  // empty line
           head + hash.substr(1) + " 1 a\n",            // short hash
           head + std::string(64, 'g') + " 1 a\n", head + hash + " -1 a\n",
           head + hash + " 99999999999999999999 a\n",
           head + hash + "  1 a\n",  // two spaces
           head + hash + " 1 sub/a\n", head + hash + " 1 ..\n", head + hash + " 1 .hidden\n",
           head + hash + " 1 two words\n", head + hash + " 1 update.manifest\n",
           head + hash + " 1 a\n" + hash + " 2 a\n",  // twice
       }) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ParseManifest(text), Refusal);
  }
}

TEST(UpdateDownloadedFile, MustHaveTheAnnouncedAndSignedSizeAndHash) {
  testing::ScratchFolder dir;
  testing::WriteText(dir / "launcher", "launcher");
  const Manifest signed_ = ParseManifest(kManifest);
  const ManifestEntry& entry = signed_.files[0];
  EXPECT_NO_THROW(CheckDownloadedFile(dir / "launcher", entry, 8));
  EXPECT_THROW(CheckDownloadedFile(dir / "launcher", entry, 9), Refusal);  // announced
  EXPECT_THROW(CheckDownloadedFile(dir / "missing", entry, 8), Refusal);
  testing::WriteText(dir / "short", "launche");
  EXPECT_THROW(CheckDownloadedFile(dir / "short", entry, 8), Refusal);
  testing::WriteText(dir / "changed", "Launcher");
  EXPECT_THROW(CheckDownloadedFile(dir / "changed", entry, 8), Refusal);
}

TEST(UpdateFiles, LauncherReplacedWithItsBackupAndPermissions) {
  testing::ScratchFolder scratch;
  const fs::path program = scratch / "program", updates = scratch / "updates";
  fs::create_directories(program);
  fs::create_directories(updates);
  testing::WriteText(program / "Pivolane", "old launcher");
  fs::permissions(program / "Pivolane", fs::perms(0750));
  testing::WriteText(updates / "MAJPivolanePivolane.101", "new launcher");
  ReplaceLauncher(program, updates / "MAJPivolanePivolane.101");
  const std::string newLauncher = "new launcher";
  EXPECT_EQ(testing::ReadBytes(program / "Pivolane"),
            testing::Bytes(newLauncher.begin(), newLauncher.end()));
  EXPECT_EQ(testing::ReadBytes(program / "Pivolane.old").size(), 12u);
  for (const char* name : {"Pivolane", "Pivolane.old"}) {
    EXPECT_EQ(fs::status(program / name).permissions() & fs::perms::mask, fs::perms(0750)) << name;
  }
  EXPECT_THROW(ReplaceLauncher(updates, program / "Pivolane"), Failure);  // no launcher

  // Staged downloads become pending ones; deleting takes both, nothing else.
  testing::WriteText(StagedFile(updates, "pivedit"), "#!/bin/sh\n");
  testing::WriteText(StagedFile(updates, "readme"), "text");
  testing::WriteText(updates / "notes.txt", "kept");
  fs::create_directory(updates / "MAJPivolanefolder");
  EXPECT_EQ(StagedFile(updates, "pivedit").filename(), ".MAJPivolanepivedit");
  PublishDownloads(updates, {"pivedit", "readme"});
  const auto allowed = static_cast<fs::perms>(~platform::CurrentUmask()) & fs::perms::mask;
  EXPECT_EQ(fs::status(PendingFile(updates, "pivedit")).permissions(), fs::perms(0755) & allowed);
  EXPECT_EQ(fs::status(PendingFile(updates, "readme")).permissions(), fs::perms(0644) & allowed);
  testing::WriteText(StagedFile(updates, "pivtool"), "tool");
  DeleteDownloads(updates);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(updates)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"MAJPivolanefolder", "notes.txt"}));
}

TEST(UpdateListing, NamesOneALineWithFoldersMarked) {
  const std::string mlsd =
      "type=cdir;modify=20240101000000; .\r\n"
      "type=pdir;modify=20240101000000; ..\r\n"
      "type=file;size=8;modify=20240101000000;perm=r; Pivolane.101\r\n"
      "Type=DIR;modify=20240101000000; log\r\n"
      "type=OS.unix=symlink;size=4; link\r\n"
      "size=3;type=file; with space.txt\r\n"
      "type=file;size=8; Pivolane.101\r\n"  // a name repeated: listed once
      "no facts\r\n";
  EXPECT_EQ(DirectoryListing(mlsd, ListingFormat::kMlsd, "*.*"),
            "Pivolane.101\r\nlog/\r\nwith space.txt\r\n");
  EXPECT_EQ(DirectoryListing(mlsd, ListingFormat::kMlsd, "Pivolane.*"), "Pivolane.101\r\n");

  const std::string unix =
      "total 12\n"
      "-rw-r--r--   1 owner group      8 Jan 01 10:00 Pivolane.101\n"
      "drwxr-xr-x   2 owner group   4096 Jan 01 10:00 log\n"
      "lrwxrwxrwx   1 owner group      4 Jan 01 10:00 link -> Pivolane.101\n"
      "-rw-r--r--   1 owner group      3 Jan 01  2023 with space.txt\n";
  EXPECT_EQ(DirectoryListing(unix, ListingFormat::kList, "*.*"),
            "Pivolane.101\r\nlog/\r\nwith space.txt\r\n");
  const std::string dos =
      "01-01-24  10:00AM                    8 Pivolane.101\r\n"
      "01-01-24  10:00AM       <DIR>          log\r\n";
  EXPECT_EQ(DirectoryListing(dos, ListingFormat::kList, "*"), "Pivolane.101\r\nlog/\r\n");

  for (const auto& [name, pattern, matches] : {std::tuple{"Pivolane.101", "Pivolane.*", true},
                                               {"Pivolane", "Pivolane.*", false},
                                               {"update.manifest", "Pivolane.*", false},
                                               {"log", "*.*", true},
                                               {"abcbd", "a*b?", true},
                                               {"abcbde", "a*b?", false},
                                               {"", "*", true}}) {
    EXPECT_EQ(MatchesPattern(name, pattern), matches) << name << " " << pattern;
  }
}

TEST(UpdateListing, LinesEndWithCrLf) {
  EXPECT_EQ(FirstListingLine("Pivolane.101\r\nPivolane.102\r\n"), "Pivolane.101");
  for (const char* unterminated : {"", "Pivolane.101", "Pivolane.101\n"}) {
    EXPECT_THROW(FirstListingLine(unterminated), Failure) << unterminated;
  }
  EXPECT_EQ(ListingLines("a\r\n\r\nlog/\r\nlast"), (std::vector<std::string>{"a", "", "log/"}));
  // Pieces of a reply never cut a character: "é" is two bytes, "€" three.
  for (const auto& [text, size, length] : {std::tuple{"ab\xC3\xA9", 3u, 2u},
                                           {"ab\xC3\xA9", 4u, 4u},
                                           {"\xE2\x82\xAC!", 2u, 2u},  // longer than a piece
                                           {"\xE2\x82\xAC!", 3u, 3u},
                                           {"ab", 9u, 2u}}) {
    EXPECT_EQ(Utf8PieceLength(text, size), length) << text << " " << size;
  }
}

TEST(UpdateVersion, DigitsAreWholeNumbersShownWithTwoDecimals) {
  for (const auto& [number, shown] :
       {std::pair{101u, "1.01"}, {100u, "1.00"}, {5u, "0.05"}, {2100u, "21.00"}, {230u, "2.30"}}) {
    EXPECT_EQ(FormatVersion(number), shown);
  }
  EXPECT_EQ(WholeNumber("0101"), 101u);
  EXPECT_EQ(LocalVersionDigits(), "100");
  for (const char* bad : {"", "1.01", "abc", " 101", "-1"}) {
    try {
      WholeNumber(bad);
      ADD_FAILURE() << bad;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), error_number::kTypeMismatch) << bad;
    }
  }
  EXPECT_THROW(WholeNumber("99999999999999999999999"), Failure);
  EXPECT_EQ(VersionOfFileName("Pivolane.101"), "101");
  EXPECT_EQ(VersionOfFileName("Pivolane.1.0"), "1.0");
}

TEST(UpdateLog, NameFromTheClockAndContentFromTheRun) {
  std::tm time{};
  time.tm_mday = 7;
  time.tm_mon = 11;
  time.tm_year = 126;
  time.tm_hour = 13;
  time.tm_min = 45;
  time.tm_sec = 2;
  EXPECT_EQ(LogFileName(time), "071226134502.txt");
  EXPECT_EQ(LogContent("id", "100", true, "101"), "id\r\n100+101");
  EXPECT_EQ(LogContent("", "100", false, "100"), "\r\n100-100");
}

TEST(UpdateTransferCommand, SplitsServerAndLocalPaths) {
  const TransferCommand dir = ParseTransferCommand("DIR quenbrook/pivolane/update/Pivolane.*");
  EXPECT_EQ(dir.kind, TransferCommand::Kind::kDir);
  EXPECT_EQ(dir.serverPath, "quenbrook/pivolane/update/");
  EXPECT_EQ(dir.pattern, "Pivolane.*");
  EXPECT_EQ(ParseTransferCommand("DIR a/").pattern, "*.*");
  const TransferCommand get =
      ParseTransferCommand("GET u/pivedit /home/my files/MAJPivolanepivedit");
  EXPECT_EQ(get.kind, TransferCommand::Kind::kGet);
  EXPECT_EQ(get.serverPath, "u/pivedit");
  EXPECT_EQ(get.localPath, "/home/my files/MAJPivolanepivedit");
  const TransferCommand put =
      ParseTransferCommand("PUT /my work/071226134502.txt u/log/071226134502.txt");
  EXPECT_EQ(put.localPath, "/my work/071226134502.txt");
  EXPECT_EQ(put.serverPath, "u/log/071226134502.txt");
  EXPECT_EQ(ParseTransferCommand("SIZE u/a b").serverPath, "u/a b");
  for (const char* bad : {"LIST a", "GET", "GET a", "PUT a", "SIZE ", "SIZE a/", "GET a/ b"}) {
    EXPECT_THROW(ParseTransferCommand(bad), Failure) << bad;
  }
  EXPECT_EQ(EscapeUrlPath("a b/é%.txt"), "a%20b/%C3%A9%25.txt");
}

}  // namespace
}  // namespace pivolane::update
