// VARIANT, BSTR and SAFEARRAY with the platform's automation functions.
// Contract:
// - VARIANT is 16 bytes: vt, three reserved words, 8 bytes of value. It owns what it references
//   (BSTR, interface, SAFEARRAY) unless VT_BYREF is set. VT_RECORD keeps its record data and
//   IRecordInfo in a small box owned by the VARIANT (the value has room for one pointer only);
//   the record data itself is borrowed and never destroyed by VariantClear.
// - BSTR is UTF-16 with a 32-bit byte length in front and a NUL after; null is the empty string.
// - SAFEARRAY: dimensions are numbered from 1; rgIndices[i] is the index of dimension i + 1, and
//   dimension 1 varies fastest in memory. Arrays of BSTR, VARIANT and interfaces own their
//   elements: SafeArrayPutElement stores a copy, SafeArrayGetElement hands out a copy, and
//   SafeArrayDestroy frees them.
// - VariantChangeType converts between the numeric types, VT_BOOL, VT_DATE, VT_BSTR (both ways),
//   VT_UNKNOWN / VT_DISPATCH, VT_EMPTY, and arrays of bytes (from and to VT_BSTR, whose UTF-16
//   bytes they hold). Out-of-range numbers give DISP_E_OVERFLOW, anything else that does not
//   convert DISP_E_TYPEMISMATCH; the target is untouched on failure. Rounding is to nearest,
//   halves to even.
#pragma once

#include <cstddef>

#include "platform/com/unknown.h"

using VARTYPE = USHORT;
using BSTR = OLECHAR*;
using VARIANT_BOOL = SHORT;
using DATE = double;

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_PTR = 26,
  VT_SAFEARRAY = 27,
  VT_CARRAY = 28,
  VT_USERDEFINED = 29,
  VT_LPSTR = 30,
  VT_LPWSTR = 31,
  VT_RECORD = 36,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF,
};

struct IDispatch;
struct IRecordInfo;
struct SAFEARRAY;
struct BRECORD {
  void* pvRecord;
  IRecordInfo* pRecInfo;
};
struct tagVARIANT;
using VARIANT = tagVARIANT;
using VARIANTARG = VARIANT;

struct tagVARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    SAFEARRAY* parray;
    BRECORD* precord;
    CHAR cVal;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
    BYTE* pbVal;
    SHORT* piVal;
    LONG* plVal;
    LONGLONG* pllVal;
    float* pfltVal;
    double* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    DATE* pdate;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    SAFEARRAY** pparray;
    VARIANT* pvarVal;
    void* byref;
  };
};
static_assert(sizeof(VARIANT) == 16);

struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
};

inline constexpr USHORT FADF_BSTR = 0x0100;
inline constexpr USHORT FADF_UNKNOWN = 0x0200;
inline constexpr USHORT FADF_DISPATCH = 0x0400;
inline constexpr USHORT FADF_VARIANT = 0x0800;
inline constexpr USHORT FADF_RECORD = 0x0020;
inline constexpr USHORT FADF_HAVEVARTYPE = 0x0080;

struct SAFEARRAY {
  USHORT cDims;
  USHORT fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  void* pvData;
  SAFEARRAYBOUND rgsabound[1];  // cDims entries, dimension 1 first
};

// BSTR
BSTR SysAllocString(LPCOLESTR text);
// A null `text` leaves the characters unwritten (the terminating NUL is always there).
BSTR SysAllocStringLen(const OLECHAR* text, UINT chars);
// Replaces *text with a copy of `chars` characters of `source`; shortening a string to its own
// prefix happens in place.
INT SysReAllocStringLen(BSTR* text, const OLECHAR* source, UINT chars);
BSTR SysAllocStringByteLen(const char* bytes, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

// VARIANT
void VariantInit(VARIANTARG* v);
HRESULT VariantClear(VARIANTARG* v);
HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* source);
HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* source);
HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* source, USHORT flags, VARTYPE vt);

// SAFEARRAY
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lower_bound, ULONG elements);
HRESULT SafeArrayDestroy(SAFEARRAY* array);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
UINT SafeArrayGetDim(SAFEARRAY* array);
UINT SafeArrayGetElemsize(SAFEARRAY* array);
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* lower);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* upper);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
HRESULT SafeArrayPtrOfIndex(SAFEARRAY* array, const LONG* indices, void** element);
HRESULT SafeArrayGetElement(SAFEARRAY* array, const LONG* indices, void* value);
HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices, void* value);
HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy);

// Not a platform function: a VT_RECORD value (the box and a reference on the record info).
HRESULT VariantSetRecord(VARIANT* v, void* record, IRecordInfo* info);
