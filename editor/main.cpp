#include "editor/shell/editor_app.h"

int main(int argc, char** argv) {
  return pivolane::editor::RunEditor(argc, argv);
}
