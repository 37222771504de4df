#include "platform/com/classes/stream.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include "platform/com/class_table.h"
#include "platform/com/classes/charset.h"
#include "platform/kernel/codepage.h"
#include "platform/kernel/paths.h"

namespace platform::com {
namespace {

// Error codes of the platform's data-access objects.
constexpr HRESULT kArgumentWrong = static_cast<HRESULT>(0x800A0BB9);
constexpr HRESULT kOperationNotAllowed = static_cast<HRESULT>(0x800A0C93);
constexpr HRESULT kObjectClosed = static_cast<HRESULT>(0x800A0E78);
constexpr HRESULT kObjectOpen = static_cast<HRESULT>(0x800A0E79);
constexpr HRESULT kFileWrite = static_cast<HRESULT>(0x800A0BBC);
constexpr HRESULT kFileRead = static_cast<HRESULT>(0x800A0BBA);

constexpr LONG kTypeBinary = 1;
constexpr LONG kTypeText = 2;
constexpr LONG kModeRead = 1;
constexpr LONG kReadAll = -1;
constexpr LONG kReadLine = -2;
constexpr LONG kSaveCreateOverWrite = 2;

enum Member : MEMBERID {
  kType = 1,
  kMode,
  kOpen,
  kWrite,
  kWriteText,
  kRead,
  kReadText,
  kPosition,
  kSize,
  kEos,
  kSetEos,
  kCharset,
  kSaveToFile,
  kLoadFromFile,
  kClose,
  kState,
};

class Stream final : public DispatchObject {
 public:
  explicit Stream(const ClassType& type) : DispatchObject(type) {}

  static Stream& of(DispatchObject& o) { return static_cast<Stream&>(o); }

  HRESULT need_open(Invocation& call) {
    return open_ ? S_OK : call.fail(kObjectClosed, u"Operation is not allowed when the object is closed.");
  }

  bool open_ = false;
  LONG type_ = kTypeBinary;
  LONG mode_ = 0;
  std::u16string charset_name_ = u"Unicode";
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

#define STREAM_TRY(expr)                               \
  do {                                                 \
    if (HRESULT hr_ = (expr); FAILED(hr_)) return hr_; \
  } while (0)

HRESULT get_type(DispatchObject& o, Invocation&, VARIANT* r) {
  set_long(r, Stream::of(o).type_);
  return S_OK;
}

HRESULT put_type(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  LONG t = call.long_value(0, 0);
  if (t != kTypeBinary && t != kTypeText) return call.fail(kArgumentWrong, u"Type must be 1 or 2.");
  if (s.open_ && s.position_ != 0)
    return call.fail(kOperationNotAllowed, u"Type changes only at position 0.");
  s.type_ = t;
  return S_OK;
}

HRESULT get_mode(DispatchObject& o, Invocation&, VARIANT* r) {
  set_long(r, Stream::of(o).mode_);
  return S_OK;
}

HRESULT put_mode(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  if (s.open_) return call.fail(kObjectOpen, u"Mode is set before the stream is opened.");
  s.mode_ = call.long_value(0, 0);
  return S_OK;
}

HRESULT get_state(DispatchObject& o, Invocation&, VARIANT* r) {
  set_long(r, Stream::of(o).open_ ? 1 : 0);
  return S_OK;
}

HRESULT open(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  if (s.open_) return call.fail(kObjectOpen, u"The stream is already open.");
  if (call.given(0) && call.value(0).vt != VT_EMPTY && call.value(0).vt != VT_NULL) {
    return call.fail(kArgumentWrong, u"Only an empty stream can be opened.");
  }
  if (call.given(1)) s.mode_ = call.long_value(1, s.mode_);
  s.open_ = true;
  s.bytes_.clear();
  s.position_ = 0;
  return S_OK;
}

HRESULT close(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  s.open_ = false;
  s.bytes_.clear();
  s.bytes_.shrink_to_fit();
  s.position_ = 0;
  return S_OK;
}

void put_bytes(Stream& s, const std::uint8_t* data, std::size_t n) {
  const std::size_t overwrite = std::min(n, s.bytes_.size() - std::min(s.position_, s.bytes_.size()));
  if (overwrite > 0) std::memcpy(s.bytes_.data() + s.position_, data, overwrite);
  s.bytes_.insert(s.bytes_.end(), data + overwrite, data + n);
  s.position_ += n;
}

HRESULT check_writable(Stream& s, Invocation& call, LONG type) {
  STREAM_TRY(s.need_open(call));
  if (s.type_ != type)
    return call.fail(kOperationNotAllowed, u"Operation is not allowed for this stream type.");
  if (s.mode_ == kModeRead)
    return call.fail(kOperationNotAllowed, u"The stream was opened for reading only.");
  return S_OK;
}

HRESULT write(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  STREAM_TRY(check_writable(s, call, kTypeBinary));
  const VARIANT& buffer = call.value(0);
  if (buffer.vt == VT_EMPTY || buffer.vt == VT_NULL) return S_OK;
  VARTYPE element = buffer.vt & VT_TYPEMASK;
  if ((buffer.vt & VT_ARRAY) == 0 || (element != VT_UI1 && element != VT_I1) || buffer.parray == nullptr) {
    return call.fail(kArgumentWrong, u"Write takes an array of bytes.");
  }
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(buffer.parray, &data))) return call.fail(kArgumentWrong, u"Locked array.");
  std::size_t n = buffer.parray->cDims == 0 ? 0 : 1;
  for (USHORT d = 0; d < buffer.parray->cDims; ++d) n *= buffer.parray->rgsabound[d].cElements;
  put_bytes(s, static_cast<const std::uint8_t*>(data), n);
  SafeArrayUnaccessData(buffer.parray);
  return S_OK;
}

HRESULT write_text(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  STREAM_TRY(check_writable(s, call, kTypeText));
  auto charset = Charset::find(s.charset_name_);
  if (!charset) return call.fail(kArgumentWrong, u"Unknown charset.");
  std::u16string text = call.text_value(0);
  if (call.long_value(1, 0) == 1) text += u"\r\n";
  std::string encoded = charset->encode(text);
  put_bytes(s, reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size());
  return S_OK;
}

HRESULT read(DispatchObject& o, Invocation& call, VARIANT* r) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  if (s.type_ != kTypeBinary) return call.fail(kOperationNotAllowed, u"Read needs a binary stream.");
  LONG wanted = call.long_value(0, kReadAll);
  std::size_t left = s.bytes_.size() - std::min(s.position_, s.bytes_.size());
  std::size_t n = wanted < 0 ? left : std::min(left, static_cast<std::size_t>(wanted));
  if (n == 0) {
    VariantInit(r);
    r->vt = VT_NULL;
    return S_OK;
  }
  SAFEARRAY* a = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(n));
  if (a == nullptr) return E_OUTOFMEMORY;
  std::memcpy(a->pvData, s.bytes_.data() + s.position_, n);
  s.position_ += n;
  VariantInit(r);
  r->vt = VT_ARRAY | VT_UI1;
  r->parray = a;
  return S_OK;
}

HRESULT read_text(DispatchObject& o, Invocation& call, VARIANT* r) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  if (s.type_ != kTypeText) return call.fail(kOperationNotAllowed, u"ReadText needs a text stream.");
  auto charset = Charset::find(s.charset_name_);
  if (!charset) return call.fail(kArgumentWrong, u"Unknown charset.");
  LONG wanted = call.long_value(0, kReadAll);
  std::size_t from = std::min(s.position_, s.bytes_.size());
  std::span<const std::uint8_t> rest(s.bytes_.data() + from, s.bytes_.size() - from);
  if (wanted == kReadAll) {
    VariantInit(r);
    r->vt = VT_BSTR;
    r->bstrVal = charset->decode_bstr(rest, from == 0);
    if (r->bstrVal == nullptr) return E_OUTOFMEMORY;
    s.position_ = s.bytes_.size();
    return S_OK;
  }
  std::u16string text = charset->decode(rest, from == 0);
  std::size_t keep = text.size();
  if (wanted == kReadLine) {
    std::size_t lf = text.find(u'\n');
    if (lf != std::u16string::npos) keep = lf + 1;
  } else if (wanted >= 0) {
    keep = std::min(keep, static_cast<std::size_t>(wanted));
  }
  if (keep < text.size()) {
    // Move past exactly the characters handed out: their bytes, re-encoded, give the count.
    std::size_t bom = from == 0 ? charset->bom_length(rest) : 0;
    s.position_ = from + bom + charset->encode(std::u16string_view(text).substr(0, keep)).size();
    text.resize(keep);
    if (wanted == kReadLine && !text.empty() && text.back() == u'\n') {
      text.pop_back();
      if (!text.empty() && text.back() == u'\r') text.pop_back();
    }
  } else {
    s.position_ = s.bytes_.size();
  }
  return set_text(r, text);
}

HRESULT get_position(DispatchObject& o, Invocation& call, VARIANT* r) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  set_long(r, static_cast<LONG>(s.position_));
  return S_OK;
}

HRESULT put_position(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  LONG p = call.long_value(0, -1);
  if (p < 0 || static_cast<std::size_t>(p) > s.bytes_.size()) {
    return call.fail(kArgumentWrong, u"Position is outside the stream.");
  }
  s.position_ = static_cast<std::size_t>(p);
  return S_OK;
}

HRESULT get_size(DispatchObject& o, Invocation& call, VARIANT* r) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  set_long(r, static_cast<LONG>(s.bytes_.size()));
  return S_OK;
}

HRESULT get_eos(DispatchObject& o, Invocation& call, VARIANT* r) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  set_bool(r, s.position_ >= s.bytes_.size());
  return S_OK;
}

HRESULT set_eos(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  s.bytes_.resize(std::min(s.position_, s.bytes_.size()));
  return S_OK;
}

HRESULT get_charset(DispatchObject& o, Invocation&, VARIANT* r) {
  return set_text(r, Stream::of(o).charset_name_);
}

HRESULT put_charset(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  std::u16string name = call.text_value(0);
  if (!Charset::find(name)) return call.fail(kArgumentWrong, u"Unknown charset.");
  if (s.open_ && s.position_ != 0)
    return call.fail(kOperationNotAllowed, u"Charset changes only at position 0.");
  s.charset_name_ = name;
  return S_OK;
}

std::string file_path(const std::u16string& name) {
  return paths::to_system(codepage::utf16_to_ansi(name));
}

HRESULT save_to_file(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  std::string path = file_path(call.text_value(0));
  if (path.empty()) return call.fail(kArgumentWrong, u"No file name.");
  bool overwrite = (call.long_value(1, 1) & kSaveCreateOverWrite) != 0;
  if (!overwrite && std::ifstream(path).good()) return call.fail(kFileWrite, u"The file already exists.");
  std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(s.bytes_.data()), static_cast<std::streamsize>(s.bytes_.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      return call.fail(kFileWrite, u"The file could not be written.");
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return call.fail(kFileWrite, u"The file could not be written.");
  }
  return S_OK;
}

HRESULT load_from_file(DispatchObject& o, Invocation& call, VARIANT*) {
  Stream& s = Stream::of(o);
  STREAM_TRY(s.need_open(call));
  std::ifstream in(file_path(call.text_value(0)), std::ios::binary);
  if (!in) return call.fail(kFileRead, u"The file could not be opened.");
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return call.fail(kFileRead, u"The file could not be read.");
  s.bytes_ = std::move(bytes);
  s.position_ = 0;
  return S_OK;
}

const ClassType& stream_type() {
  constexpr TypeRef kLong{VT_I4};
  constexpr TypeRef kText{VT_BSTR};
  constexpr TypeRef kBool{VT_BOOL};
  constexpr TypeRef kVariant{VT_VARIANT};
  constexpr TypeRef kVoid{VT_VOID};
  constexpr TypeRef kStreamType{VT_USERDEFINED, VT_EMPTY, 0};
  constexpr TypeRef kConnectMode{VT_USERDEFINED, VT_EMPTY, 1};
  constexpr TypeRef kObjectState{VT_USERDEFINED, VT_EMPTY, 2};
  constexpr USHORT kOptIn = PARAMFLAG_FIN | PARAMFLAG_FOPT;
  static const ClassType type(ClassDecl{
      u"Stream",
      CLSID_Stream,
      {
          {u"Type", kType, INVOKE_PROPERTYGET, kStreamType, {}, 0, &get_type},
          {u"Type", kType, INVOKE_PROPERTYPUT, kVoid, {{kStreamType}}, 0, &put_type},
          {u"Mode", kMode, INVOKE_PROPERTYGET, kConnectMode, {}, 0, &get_mode},
          {u"Mode", kMode, INVOKE_PROPERTYPUT, kVoid, {{kConnectMode}}, 0, &put_mode},
          {u"State", kState, INVOKE_PROPERTYGET, kObjectState, {}, 0, &get_state},
          {u"Open",
           kOpen,
           INVOKE_FUNC,
           kVoid,
           {{kVariant, kOptIn}, {kConnectMode, kOptIn}, {kLong, kOptIn}, {kText, kOptIn}, {kText, kOptIn}},
           5,
           &open},
          {u"Close", kClose, INVOKE_FUNC, kVoid, {}, 0, &close},
          {u"Write", kWrite, INVOKE_FUNC, kVoid, {{kVariant}}, 0, &write},
          {u"WriteText", kWriteText, INVOKE_FUNC, kVoid, {{kText}, {kLong, kOptIn}}, 1, &write_text},
          {u"Read", kRead, INVOKE_FUNC, kVariant, {{kLong, kOptIn}}, 1, &read},
          {u"ReadText", kReadText, INVOKE_FUNC, kText, {{kLong, kOptIn}}, 1, &read_text},
          {u"Position", kPosition, INVOKE_PROPERTYGET, kLong, {}, 0, &get_position},
          {u"Position", kPosition, INVOKE_PROPERTYPUT, kVoid, {{kLong}}, 0, &put_position},
          {u"Size", kSize, INVOKE_PROPERTYGET, kLong, {}, 0, &get_size},
          {u"EOS", kEos, INVOKE_PROPERTYGET, kBool, {}, 0, &get_eos},
          {u"SetEOS", kSetEos, INVOKE_FUNC, kVoid, {}, 0, &set_eos},
          {u"Charset", kCharset, INVOKE_PROPERTYGET, kText, {}, 0, &get_charset},
          {u"Charset", kCharset, INVOKE_PROPERTYPUT, kVoid, {{kText}}, 0, &put_charset},
          {u"SaveToFile", kSaveToFile, INVOKE_FUNC, kVoid, {{kText}, {kLong, kOptIn}}, 1, &save_to_file},
          {u"LoadFromFile", kLoadFromFile, INVOKE_FUNC, kVoid, {{kText}}, 0, &load_from_file},
      },
      {{u"StreamTypeEnum", TKIND_ENUM, {}},
       {u"ConnectModeEnum", TKIND_ENUM, {}},
       {u"ObjectStateEnum", TKIND_ENUM, {}}},
  });
  return type;
}

HRESULT create_stream(DWORD, REFIID iid, void** object) {
  auto* s = new (std::nothrow) Stream(stream_type());
  if (s == nullptr) return E_OUTOFMEMORY;
  HRESULT hr = s->QueryInterface(iid, object);
  s->Release();
  return hr;
}

}  // namespace

ClassEntry stream_class_entry() {
  return {u"ADODB.Stream", CLSID_Stream, &create_stream};
}

}  // namespace platform::com
