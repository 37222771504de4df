// Classes registered only in the tests, to reach every branch of the member call and of
// creation: "Lyr.Probe" (a table class whose Invoke records what arrived), "Lyr.NoTypeInfo"
// (IDispatch without type information), "Lyr.Plain" (no IDispatch), "Lyr.Picky" (refuses the
// remote class context) and "Lyr.Unrunnable" (fails OleRun).
#pragma once

#include <string>
#include <vector>

#include "platform/com/typeinfo.h"

namespace lyr::test {

inline constexpr CLSID kProbeClsid = {0x7A11CE00, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};
inline constexpr CLSID kPickyClsid = {0x7A11CE00, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x04}};

// What the last Invoke on a probe saw.
struct ProbeLog {
  WORD flags = 0;
  UINT named = 0;
  std::vector<VARTYPE> types;  // rgvarg order: last argument first
  std::vector<SCODE> scodes;
  int invokes = 0;
  std::vector<DWORD> picky_contexts;
};
ProbeLog& probe_log();

void register_probe_classes();

}  // namespace lyr::test

namespace lyr::test {

// A record type description whose record data the tests can watch being destroyed.
class WatchedRecordInfo;
IRecordInfo* make_watched_record_info(int* destroyed);

}  // namespace lyr::test
