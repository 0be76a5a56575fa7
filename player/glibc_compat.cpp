// Two C library functions that the static C++ runtime refers to, provided
// here through the linker's --wrap so that the player asks nothing newer of
// the system's C library than the start-up code does (GLIBC_2.34): older
// desktops then run it too. Both do what the C library's own versions do,
// with calls every supported C library has.
#include <dlfcn.h>
#include <link.h>
#include <sys/random.h>

#include <cstdint>

extern "C" {

// arc4random (GLIBC_2.36), used by std::random_device, which the player
// never creates; kept working all the same.
std::uint32_t __wrap_arc4random() {
  std::uint32_t value = 0;
  while (getrandom(&value, sizeof value, 0) != static_cast<ssize_t>(sizeof value)) {
  }
  return value;
}

// _dl_find_object (GLIBC_2.35), through which the unwinder finds the
// exception tables of the object holding a code address; the same answer
// comes from walking the loaded objects' program headers.
int __wrap__dl_find_object(void* address, dl_find_object* result) {
  struct Search {
    std::uintptr_t address;
    dl_find_object* result;
    bool found;
  } search{reinterpret_cast<std::uintptr_t>(address), result, false};

  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* data) -> int {
        auto& s = *static_cast<Search*>(data);
        std::uintptr_t start = UINTPTR_MAX;
        std::uintptr_t end = 0;
        bool holds = false;
        void* ehFrame = nullptr;
        for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
          const ElfW(Phdr)& header = info->dlpi_phdr[i];
          const std::uintptr_t from = info->dlpi_addr + header.p_vaddr;
          if (header.p_type == PT_LOAD) {
            const std::uintptr_t to = from + header.p_memsz;
            holds = holds || (s.address >= from && s.address < to);
            start = from < start ? from : start;
            end = to > end ? to : end;
          } else if (header.p_type == PT_GNU_EH_FRAME) {
            ehFrame = reinterpret_cast<void*>(from);
          }
        }
        if (!holds) return 0;
        *s.result = dl_find_object{};
        s.result->dlfo_map_start = reinterpret_cast<void*>(start);
        s.result->dlfo_map_end = reinterpret_cast<void*>(end);
        s.result->dlfo_eh_frame = ehFrame;
        s.found = true;
        return 1;
      },
      &search);
  return search.found ? 0 : -1;
}

}  // extern "C"
