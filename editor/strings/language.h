// The two interface languages of the editor.
#pragma once

namespace pivolane::editor {

// The values are the language index stored under "Langue".
enum class Language { kFrench = 0, kEnglish = 1 };

}  // namespace pivolane::editor
