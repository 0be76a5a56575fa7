// The editor program: its work folder, settings and main window.
#pragma once

namespace pivolane::editor {

int RunEditor(int argc, char** argv);

}  // namespace pivolane::editor
