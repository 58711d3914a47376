// Fortran-style fixed fields and the free number forms of the engine's files.
// Every number the engine writes goes through this module. All conversions are
// locale-free (the engine may run inside a program that sets a locale with a
// decimal comma). The input data file's 8-digit general format is the
// program's (app/tables/number_format.h): the engine only reads that file.
//
// Field rules shared by all edit descriptors:
//  - the text is right-aligned in its field;
//  - a value that does not fit, and any NaN or infinity, fills the field with '*';
//  - rounding is to nearest with ties to even on the exact binary value (as
//    gfortran and the C library do);
//  - a negative zero keeps its minus sign ("-0.000").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestra::fmt {

/// nX: n blanks (none for n <= 0).
std::string x(int n);

/// Iw: the integer right-aligned in w columns.
std::string i(std::int64_t value, int w);

/// Fw.d: fixed point with d decimals. The leading zero of a magnitude below 1 is
/// dropped when it is the one character too many (F4.3 of 0.125 is ".125").
/// With d = 0 the decimal point is kept ("2.").
std::string f(double value, int w, int d);

/// Ew.d: 0.ddd...E+xx with d significant digits (12.5 in E10.3 is " 0.125E+02").
/// An exponent of three digits drops the letter: 1e300 in E10.3 is " 0.100+301";
/// beyond three digits the field is all '*'. The leading zero is dropped when it
/// is the one character too many.
std::string e(double value, int w, int d);

/// Dw.d: as Ew.d with the letter D.
std::string d(double value, int w, int d);

/// Free-format integer as the engine writes it: right-aligned in 12 columns.
std::string free_int(std::int64_t value);

/// Free-format real as the engine writes it: 17 significant digits, enough to
/// give back the same double; fixed notation when 0.1 <= |v| < 1e16 after
/// rounding ("1.5000000000000000"), zero as "0.0000000000000000", otherwise
/// d.ddddE+xxx with a signed three-digit exponent ("9.9999999999999995E-008");
/// right-aligned in 25 columns (which leaves at least one leading blank).
std::string free_real(double value);

/// Composes one fixed-column text line from fields, left to right.
class Line {
 public:
  Line& x(int n) {
    text_ += fmt::x(n);
    return *this;
  }
  Line& a(std::string_view s) {
    text_ += s;
    return *this;
  }
  Line& i(std::int64_t v, int w) {
    text_ += fmt::i(v, w);
    return *this;
  }
  Line& f(double v, int w, int dec) {
    text_ += fmt::f(v, w, dec);
    return *this;
  }
  Line& e(double v, int w, int dec) {
    text_ += fmt::e(v, w, dec);
    return *this;
  }
  const std::string& str() const { return text_; }
  operator const std::string&() const { return text_; }  // NOLINT: lines are strings

 private:
  std::string text_;
};

}  // namespace kestra::fmt
