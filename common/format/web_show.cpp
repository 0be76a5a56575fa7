#include "common/format/web_show.h"

#include "common/format/self_running.h"
#include "common/format/show_output.h"
#include "common/format/web_show_layout.h"
#include "common/workspace/workspace.h"

namespace pivolane::format {

void BuildWebShowFile(const fs::path& target, const std::vector<SlideSource>& slides,
                      const ShowOptions& options, const cipher::CryptageXor& cipherState,
                      std::span<const std::uint8_t> playerBytes,
                      std::span<const std::uint8_t> pageTemplate) {
  const PageTemplate page = SplitPageTemplate(pageTemplate);
  const ShowHeader header = FillHeaderRecord(options, cipherState, static_cast<int>(slides.size()),
                                             CarriedPlayerSize(playerBytes));
  CheckPayloadFits(slides, options);
  workspace::WriteFileReplacing(target, [&](io::File& file) {
    file.Append(page.head);
    FileEnd text(file);
    Base64Output document(text);
    BuildPayload(slides, document, header, cipherState);
    AppendHeaderTrailer(header, document);
    document.Finish();
    file.Append(page.tail);
  });
}

}  // namespace pivolane::format
