// The player writes no file anywhere, but the toolkit would: the first
// time a widget asks for one of its options, it reads its preferences and
// writes them back, creating ~/.fltk (and, for root, /etc/fltk) on the way.
// Its preference files are opened, and their folders made, through the
// three functions below, wrapped with the linker's --wrap for the toolkit's
// own references: reading goes on as before, writing and making folders are
// refused, and the options keep their defaults.
#include <cstdio>
#include <cstring>

extern "C" {

FILE* __real_fl_fopen(const char* name, const char* mode);

FILE* __wrap_fl_fopen(const char* name, const char* mode) {
  if (mode == nullptr || std::strpbrk(mode, "wa+") != nullptr) return nullptr;
  return __real_fl_fopen(name, mode);
}

char __wrap_fl_make_path(const char*) {
  return 0;
}

void __wrap_fl_make_path_for_file(const char*) {}

}  // extern "C"
