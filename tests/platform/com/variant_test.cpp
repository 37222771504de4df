// VariantChangeType, VariantCopyInd and SAFEARRAY element ownership.
#include <gtest/gtest.h>

#include "tests/platform/com/dispatch_call.h"

namespace lyr::test {
namespace {

Var change(const Var& from, VARTYPE vt, HRESULT* hr) {
  Var to;
  *hr = VariantChangeType(&to.v, &from.v, 0, vt);
  return to;
}

Var real_var(double d) {
  Var r;
  r.v.vt = VT_R8;
  r.v.dblVal = d;
  return r;
}

TEST(VariantChangeType, NumbersRoundHalfToEvenAndReportOverflowWithoutTouchingTheTarget) {
  HRESULT hr = S_OK;
  EXPECT_EQ(change(real_var(2.5), VT_I4, &hr).v.lVal, 2);
  EXPECT_EQ(change(real_var(3.5), VT_I4, &hr).v.lVal, 4);
  EXPECT_EQ(change(real_var(-1.7), VT_I2, &hr).v.iVal, -2);
  Var target = long_var(77);
  Var big = long_var(40000);
  EXPECT_EQ(VariantChangeType(&target.v, &big.v, 0, VT_I2), DISP_E_OVERFLOW);
  EXPECT_EQ(target.v.vt, VT_I4);
  EXPECT_EQ(target.v.lVal, 77);
  change(long_var(-1), VT_UI1, &hr);
  EXPECT_EQ(hr, DISP_E_OVERFLOW);
  change(real_var(1e40), VT_R4, &hr);
  EXPECT_EQ(hr, DISP_E_OVERFLOW);
  Var empty;
  EXPECT_EQ(change(empty, VT_I4, &hr).v.lVal, 0);
  EXPECT_EQ(hr, S_OK);
}

TEST(VariantChangeType, TextBothWays) {
  HRESULT hr = S_OK;
  EXPECT_EQ(change(text_var(u"  12 "), VT_I4, &hr).v.lVal, 12);
  change(text_var(u"twelve"), VT_I4, &hr);
  EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(std::u16string(change(real_var(0.1), VT_BSTR, &hr).v.bstrVal), u"0.1");
  Var flag;
  flag.v.vt = VT_BOOL;
  flag.v.boolVal = VARIANT_TRUE;
  EXPECT_EQ(std::u16string(change(flag, VT_BSTR, &hr).v.bstrVal), u"True");
  EXPECT_EQ(change(text_var(u"false"), VT_BOOL, &hr).v.boolVal, VARIANT_FALSE);

  Var date = change(text_var(u"2024-02-29 13:05:09"), VT_DATE, &hr);
  ASSERT_EQ(hr, S_OK);
  EXPECT_NEAR(date.v.date, 45351.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0, 1e-9);
  EXPECT_EQ(std::u16string(change(date, VT_BSTR, &hr).v.bstrVal), u"2024/2/29 13:05:09");
  change(text_var(u"2024-13-01"), VT_DATE, &hr);
  EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
}

TEST(VariantChangeType, ByteArraysHoldTheUtf16BytesOfText) {
  HRESULT hr = S_OK;
  Var bytes = change(text_var(u"hi"), VT_ARRAY | VT_UI1, &hr);
  EXPECT_EQ(bytes_of(bytes.v), std::string("h\0i\0", 4));
  EXPECT_EQ(std::u16string(change(bytes, VT_BSTR, &hr).v.bstrVal), u"hi");
  change(long_var(1), VT_ARRAY | VT_UI1, &hr);
  EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
}

TEST(VariantChangeType, ReferencesAreFollowed) {
  LONG value = 9;
  Var ref;
  ref.v.vt = VT_BYREF | VT_I4;
  ref.v.plVal = &value;
  HRESULT hr = S_OK;
  EXPECT_EQ(std::u16string(change(ref, VT_BSTR, &hr).v.bstrVal), u"9");
  Var copy;
  ASSERT_EQ(VariantCopyInd(&copy.v, &ref.v), S_OK);
  EXPECT_EQ(copy.v.vt, VT_I4);
  EXPECT_EQ(copy.v.lVal, 9);
  ref.v.vt = VT_EMPTY;  // borrowed: nothing to free
}

TEST(SafeArray, ElementsAreAddressedByDimensionFirstDimensionFastest) {
  const SAFEARRAYBOUND bounds[] = {{2, 1}, {3, 0}};
  SAFEARRAY* a = SafeArrayCreate(VT_I4, 2, bounds);
  ASSERT_NE(a, nullptr);
  LONG value = 5;
  const LONG at[] = {2, 1};
  ASSERT_EQ(SafeArrayPutElement(a, at, &value), S_OK);
  EXPECT_EQ(static_cast<LONG*>(a->pvData)[3], 5) << "(2, 1) is the fourth element";
  const LONG outside[] = {3, 0};
  EXPECT_EQ(SafeArrayPutElement(a, outside, &value), DISP_E_BADINDEX);
  LONG upper = 0;
  EXPECT_EQ(SafeArrayGetUBound(a, 2, &upper), S_OK);
  EXPECT_EQ(upper, 2);
  EXPECT_EQ(SafeArrayGetUBound(a, 3, &upper), DISP_E_BADINDEX);
  void* data = nullptr;
  SafeArrayAccessData(a, &data);
  EXPECT_NE(SafeArrayDestroy(a), S_OK) << "a locked array stays";
  SafeArrayUnaccessData(a);
  EXPECT_EQ(SafeArrayDestroy(a), S_OK);
}

TEST(SafeArray, ArraysOfTextOwnCopiesOfTheirElements) {
  SAFEARRAY* a = SafeArrayCreateVector(VT_BSTR, 0, 1);
  BSTR text = SysAllocString(u"lyric");
  const LONG first[] = {0};
  ASSERT_EQ(SafeArrayPutElement(a, first, text), S_OK);
  SysFreeString(text);
  BSTR out = nullptr;
  ASSERT_EQ(SafeArrayGetElement(a, first, &out), S_OK);
  EXPECT_EQ(std::u16string(out), u"lyric");
  SysFreeString(out);
  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(SafeArrayCopy(a, &copy), S_OK);
  SafeArrayDestroy(a);
  EXPECT_EQ(std::u16string(static_cast<BSTR*>(copy->pvData)[0]), u"lyric");
  SafeArrayDestroy(copy);
}

}  // namespace
}  // namespace lyr::test
