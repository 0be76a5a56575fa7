#include "editor/document/document_writer.h"

#include "common/format/document.h"
#include "editor/document/document_messages.h"
#include "editor/document/retrying.h"
#include "player/carried/carried_player.h"

namespace pivolane::editor {

bool WriteDocument(const std::filesystem::path& path,
                   const std::vector<format::SlideSource>& slides,
                   const format::ShowOptions& options, const cipher::CryptageXor& cipher,
                   Prompts& prompts, const Strings& strings) {
  const auto failureUnder = [&strings](const char* procTag) {
    return [&strings, procTag](const Failure& failure) {
      return SaveFailure(strings, procTag, failure.number(), failure.description());
    };
  };
  // The writer checks the slides too, but a failure there belongs to the
  // payload, not to the document file.
  return RunRetrying(prompts, failureUnder(" (Proc 103)"),
                     [&] { format::CheckPayloadFits(slides, options); }) &&
         RunRetrying(prompts, failureUnder(" (Proc 100)"), [&] {
           format::SaveDocumentFile(path, slides, options, cipher,
                                    static_cast<std::int32_t>(CarriedPlayer().size()));
         });
}

}  // namespace pivolane::editor
