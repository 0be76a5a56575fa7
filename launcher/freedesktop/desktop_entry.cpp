#include "launcher/freedesktop/desktop_entry.h"

#include <cctype>
#include <string_view>

#include "launcher/freedesktop/association_names.h"

namespace pivolane::launcher::freedesktop {

namespace {

// Characters that make an argument of Exec need quotes.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
// Characters that take a backslash inside the quotes.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

// The escapes of a string value: what the reader undoes first.
std::string EscapeString(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string UnescapeString(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (const char next = text[++i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        out += '\\';
        out += next;
    }
  }
  return out;
}

// One argument of a command line: quoted when it holds a reserved character,
// and every "%" doubled, since field codes begin with it.
std::string QuoteArgument(std::string_view word) {
  std::string out;
  const bool quoted = word.empty() || word.find_first_of(kReserved) != std::string_view::npos;
  if (quoted) out += '"';
  for (const char c : word) {
    if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) out += '\\';
    out += c;
    if (c == '%') out += '%';
  }
  if (quoted) out += '"';
  return out;
}

}  // namespace

std::string ExecValue(const std::filesystem::path& program) {
  return EscapeString(QuoteArgument(program.string()) + " %f");
}

std::optional<std::string> ExecProgram(const std::string& execValue) {
  const std::string line = UnescapeString(execValue);
  std::size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos) return std::nullopt;
  std::string word;
  if (line[i] == '"') {
    for (++i;; ++i) {
      if (i == line.size()) return std::nullopt;  // no closing quote
      if (line[i] == '"') break;
      if (line[i] == '\\' && i + 1 < line.size() &&
          kEscapedInQuotes.find(line[i + 1]) != std::string::npos) {
        ++i;
      }
      word += line[i];
    }
  } else {
    for (; i < line.size() && line[i] != ' ' && line[i] != '\t'; ++i) word += line[i];
  }
  std::string program;
  for (std::size_t k = 0; k < word.size(); ++k) {
    program += word[k];
    if (word[k] == '%' && k + 1 < word.size() && word[k + 1] == '%') ++k;
  }
  return program;
}

std::string DesktopEntryText(const std::filesystem::path& launcher) {
  return std::string("[Desktop Entry]\n") +
         "Type=Application\n"
         "Version=1.4\n"
         "Name=Pivolane\n"
         "GenericName=Slide show editor\n"
         "GenericName[fr]=Éditeur de diaporamas\n"
         "Comment=Make password-protected picture slide shows\n"
         "Comment[fr]=Créer des diaporamas d'images protégés par un mot de passe\n"
         "Icon=" +
         kProgramIconName + "\n" + "TryExec=" + EscapeString(launcher.string()) + "\n" +
         "Exec=" + ExecValue(launcher) + "\n" +
         "Terminal=false\n"
         "MimeType=" +
         kMimeType + ";\n" + "Categories=Graphics;Viewer;\n";
}

}  // namespace pivolane::launcher::freedesktop
