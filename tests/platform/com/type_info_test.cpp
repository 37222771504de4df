// Type information of the built-in classes: binding by name and invoke kind, enumerated
// property types, and type-library files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/com/apartment.h"
#include "platform/com/typelib.h"
#include "tests/platform/com/dispatch_call.h"

namespace lyr::test {
namespace {

struct Bound {
  ITypeInfo* info = nullptr;
  DESCKIND kind = DESCKIND_NONE;
  BINDPTR ptr{};
  HRESULT hr = E_FAIL;
  ~Bound() {
    if (info != nullptr && kind == DESCKIND_FUNCDESC) info->ReleaseFuncDesc(ptr.lpfuncdesc);
    safe_release(info);
  }
};

void bind(IDispatch* object, const char16_t* name, WORD flags, Bound* out) {
  ITypeInfo* info = nullptr;
  ASSERT_EQ(object->GetTypeInfo(0, 0, &info), S_OK);
  ITypeComp* comp = nullptr;
  ASSERT_EQ(info->GetTypeComp(&comp), S_OK);
  info->Release();
  std::u16string text = name;
  out->hr = comp->Bind(text.data(), LHashValOfNameSys(SYS_WIN32, 0, text.c_str()), flags, &out->info,
                       &out->kind, &out->ptr);
  comp->Release();
}

TEST(TypeInfo, MembersBindByNameWithoutCaseAndByInvokeKind) {
  Client stream(u"adodb.stream");
  Bound put, get, none;
  bind(stream.get(), u"position", INVOKE_PROPERTYPUT, &put);
  ASSERT_EQ(put.hr, S_OK);
  ASSERT_EQ(put.kind, DESCKIND_FUNCDESC);
  EXPECT_EQ(put.ptr.lpfuncdesc->invkind, INVOKE_PROPERTYPUT);
  EXPECT_EQ(put.ptr.lpfuncdesc->cParams, 1);
  bind(stream.get(), u"POSITION", INVOKE_PROPERTYGET, &get);
  ASSERT_EQ(get.hr, S_OK);
  EXPECT_EQ(get.ptr.lpfuncdesc->memid, put.ptr.lpfuncdesc->memid);
  bind(stream.get(), u"Position", INVOKE_FUNC, &none);
  EXPECT_TRUE(FAILED(none.hr)) << "a property is no method";
  EXPECT_EQ(LHashValOfNameSys(SYS_WIN32, 0, u"ReadText"), LHashValOfNameSys(SYS_WIN32, 0, u"READTEXT"));
}

TEST(TypeInfo, TheStreamTypeAndModeAreEnumerations) {
  Client stream(u"adodb.stream");
  for (const char16_t* name : {u"Type", u"Mode"}) {
    Bound put;
    bind(stream.get(), name, INVOKE_PROPERTYPUT, &put);
    ASSERT_EQ(put.hr, S_OK) << static_cast<int>(name[0]);
    const TYPEDESC& t = put.ptr.lpfuncdesc->lprgelemdescParam[0].tdesc;
    ASSERT_EQ(t.vt, VT_USERDEFINED);
    ITypeInfo* ref = nullptr;
    ASSERT_EQ(put.info->GetRefTypeInfo(t.hreftype, &ref), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(ref->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_ENUM);
    ref->ReleaseTypeAttr(attr);
    ref->Release();
  }
  Bound read;
  bind(stream.get(), u"ReadText", INVOKE_FUNC, &read);
  ASSERT_EQ(read.hr, S_OK);
  EXPECT_EQ(read.ptr.lpfuncdesc->cParamsOpt, 1);
  EXPECT_EQ(read.ptr.lpfuncdesc->lprgelemdescParam[0].paramdesc.wParamFlags & PARAMFLAG_FOPT, PARAMFLAG_FOPT);
}

TEST(TypeInfo, InvokeChecksCountsNamedArgumentsAndTypes) {
  Client stream(u"adodb.stream");
  EXPECT_EQ(
      stream.method(u"Open", {long_var(0), long_var(0), long_var(0), long_var(0), long_var(0), long_var(0)}),
      DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(stream.method(u"Open"), S_OK);
  EXPECT_EQ(stream.method(u"Write"), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(stream.put(u"Position", text_var(u"first")), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(stream.method(u"Read", {text_var(u"two")}), DISP_E_TYPEMISMATCH);
}

TEST(TypeLibrary, FilesAreReadStrictlyAndClassesFoundWithoutCase) {
  auto file = std::filesystem::temp_directory_path() / "lyr-typelib-test.tlb";
  std::ofstream(file) << "LYRTLB 1\nlibrary Tools\n\nclass Pipe ADODB.Stream\nclass Fetcher "
                         "{6C1E0A01-51D2-4E7A-9B10-3A527C010001}\n";
  std::u16string path = file.u16string();
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadTypeLib(path.c_str(), &library), S_OK);
  EXPECT_EQ(library->GetTypeInfoCount(), 2u);
  std::u16string name = u"FETCHER";
  ITypeInfo* found[2] = {};
  MEMBERID ids[2] = {};
  USHORT count = 2;
  ASSERT_EQ(library->FindName(name.data(), 0, found, ids, &count), S_OK);
  ASSERT_EQ(count, 1);
  CoInitialize(nullptr);
  IDispatch* object = nullptr;
  EXPECT_EQ(found[0]->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)), S_OK);
  safe_release(object);
  CoUninitialize();
  found[0]->Release();
  library->Release();

  std::ofstream(file) << "LYRTLB 1\nclass OnlyAName\n";
  EXPECT_EQ(LoadTypeLib(path.c_str(), &library), TYPE_E_INVDATAREAD);
  std::filesystem::remove(file);
  EXPECT_EQ(LoadTypeLib(path.c_str(), &library), TYPE_E_CANTLOADLIBRARY);
}

TEST(Registry, ProgIdsAndClsidStrings) {
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"winhttp.winhttprequest.5.1", &clsid), S_OK);
  CLSID parsed{};
  EXPECT_EQ(CLSIDFromString(platform::com::guid_text(clsid).c_str(), &parsed), S_OK);
  EXPECT_TRUE(IsEqualGUID(clsid, parsed));
  EXPECT_EQ(CLSIDFromString(u"{6C1E0A01-51D2-4E7A-9B10-3A527C01000}", &parsed), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromString(u"6C1E0A01-51D2-4E7A-9B10-3A527C010001", &parsed), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID(u"Unknown.Thing", &parsed), CO_E_CLASSSTRING);
  IUnknown* object = nullptr;
  EXPECT_EQ(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
      CO_E_NOTINITIALIZED);
}

}  // namespace
}  // namespace lyr::test
