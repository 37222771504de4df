#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/api/kernel.h"
#include "tests/platform/kernel/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Where the system keeps the zlib shared library, found through the loader itself.
std::string system_zlib() {
  void* h = dlopen("libz.so.1", RTLD_NOW | RTLD_NOLOAD);
  if (!h) h = dlopen("libz.so.1", RTLD_NOW);
  if (!h) return {};
  char origin[4096] = {};
  std::string path;
  if (dlinfo(h, RTLD_DI_ORIGIN, origin) == 0) path = std::string(origin) + "/libz.so.1";
  dlclose(h);
  return fs::exists(path) ? fs::canonical(path).string() : std::string();
}

// The fixture library: built by the build when it knows how, else compiled here.
std::string fixture_library([[maybe_unused]] const kernel_test::TempDir& dir) {
#ifdef KERNEL_TEST_FIXTURE_LIBRARY
  return KERNEL_TEST_FIXTURE_LIBRARY;
#else
  fs::path source = fs::path(__FILE__).parent_path() / "fixtures" / "testlib.c";
  std::string out = (dir.path() / "libkfixture.so").string();
  std::string command = "cc -shared -fPIC -o '" + out + "' '" + source.string() + "' 2>/dev/null";
  return std::system(command.c_str()) == 0 ? out : std::string();
#endif
}

template <typename F>
F as(FARPROC p) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(p));
}

std::string program_form(std::string s) {
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

TEST(LoadLibrary, DllNameMapsToLowerCaseLibSoInTheSameDirectory) {
  std::string zlib = system_zlib();
  if (zlib.empty()) GTEST_SKIP() << "no system zlib to copy";
  kernel_test::TempDir dir;
  fs::copy_file(zlib, dir.path() / "libzfix.so");
  HMODULE m = LoadLibraryA((dir.program_form() + "\\ZFix.DLL").c_str());
  ASSERT_NE(m, nullptr) << GetLastError();
  EXPECT_NE(GetProcAddress(m, "zlibVersion"), nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(m, "no_such_export"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);

  char name[4096];
  ASSERT_GT(GetModuleFileNameA(m, name, sizeof name), 0u);
  EXPECT_EQ(std::string(name), program_form((dir.path() / "libzfix.so").string()));
  EXPECT_TRUE(FreeLibrary(m));

  // Forward slashes work as well; the name as given is tried first.
  fs::copy_file(zlib, dir.path() / "Given.dll");
  HMODULE given = LoadLibraryA((dir.str() + "/Given.dll").c_str());
  ASSERT_NE(given, nullptr);
  EXPECT_NE(GetProcAddress(given, "inflate"), nullptr);
  FreeLibrary(given);
}

TEST(LoadLibrary, MissingModuleAndBadHandles) {
  kernel_test::TempDir dir;
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA((dir.program_form() + "\\nothere.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(LoadLibraryA("kernel_test_no_such_module_xyz.dll"), nullptr);
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(LoadLibraryA(""), nullptr);
  // A file that is not a library.
  dir.write("junk.dll", "not an ELF file");
  EXPECT_EQ(LoadLibraryA((dir.str() + "/junk.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

  int dummy = 0;
  EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&dummy)));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(&dummy), "x"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(LoadLibrary, BareNameIsSearchedInTheProgramDirectoryFirst) {
  std::string zlib = system_zlib();
  if (zlib.empty()) GTEST_SKIP() << "no system zlib to copy";
  fs::path program_dir = fs::read_symlink("/proc/self/exe").parent_path();
  std::string stem = "kernelprobe" + std::to_string(getpid());
  fs::path placed = program_dir / ("lib" + stem + ".so");
  fs::copy_file(zlib, placed);
  HMODULE m = LoadLibraryA((stem + ".dll").c_str());
  HMODULE without_extension = LoadLibraryA(stem.c_str());  // ".dll" is implied
  fs::remove(placed);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(without_extension, m);
  EXPECT_NE(GetProcAddress(m, "deflate"), nullptr);
  FreeLibrary(without_extension);
  FreeLibrary(m);
}

TEST(LoadLibrary, ReferenceCountedFree) {
  kernel_test::TempDir dir;
  std::string lib = fixture_library(dir);
  if (lib.empty()) GTEST_SKIP() << "no C compiler to build the fixture library";
  HMODULE a = LoadLibraryA(lib.c_str());
  HMODULE b = LoadLibraryA(lib.c_str());
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_TRUE(FreeLibrary(a));
  // Still loaded through the second reference.
  auto add = as<int (*)(int, int)>(GetProcAddress(b, "kernel_fixture_add"));
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add(2, 3), 5);
  EXPECT_TRUE(FreeLibrary(b));
  EXPECT_FALSE(FreeLibrary(b));  // every reference is gone
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(GetProcAddress, OrdinalsNameOrdinalSymbols) {
  kernel_test::TempDir dir;
  std::string lib = fixture_library(dir);
  if (lib.empty()) GTEST_SKIP() << "no C compiler to build the fixture library";
  HMODULE m = LoadLibraryA(lib.c_str());
  ASSERT_NE(m, nullptr);
  auto first = as<int (*)()>(GetProcAddress(m, MAKEINTRESOURCEA(1)));
  auto seventh = as<int (*)()>(GetProcAddress(m, MAKEINTRESOURCEA(7)));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(seventh, nullptr);
  EXPECT_EQ(first(), 101);
  EXPECT_EQ(seventh(), 107);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(m, MAKEINTRESOURCEA(2)), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  FreeLibrary(m);
}

TEST(ModuleHandle, ProgramHandleAndSystemModuleNames) {
  HMODULE self = GetModuleHandleA(nullptr);
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), self);
  // Standard system modules the program carries itself resolve to the program.
  HMODULE k = LoadLibraryA("KERNEL32.DLL");
  EXPECT_EQ(k, self);
  EXPECT_TRUE(FreeLibrary(k));
  EXPECT_EQ(GetModuleHandleA("user32"), self);
  EXPECT_EQ(GetModuleHandleA("kernel_test_not_loaded.dll"), nullptr);
}

}  // namespace
