// The rules of a numeric entry field (TDataEdit) without the widget: its
// limits, integers-only mode, hex display, label text, validation with the
// user's messages, and the validity flag that dialogs consult before they
// store values or let the field lose focus.
//
// A widget wraps one TDataEditRules: it passes the typed text in with
// SetText, calls Validate when the field is left or Enter is pressed, shows
// the returned message in an information box, and shows Text() afterwards
// (validation may rewrite it).
#pragma once

#include <string>
#include <string_view>

namespace kestra {

class TDataEditRules {
 public:
  /// Text "0", value 0, no limits (the whole extended range), units 1.
  TDataEditRules();

  // --- Label --------------------------------------------------------------

  /// Text of the attached label, without the unit.
  const std::string& Caption() const { return caption_; }
  /// Any text; only the label changes.
  void SetCaption(std::string caption) { caption_ = std::move(caption); }

  /// Unit code (1..3) that selects the unit label.
  int Units() const { return units_; }
  /// Sets the unit code, clamped into 1..3. The value is not converted: the
  /// dialog that owns the field converts and writes it.
  void SetUnits(int code);

  /// Unit string of the value ("L2", "F/L2^3", "" for none).
  const std::string& UnitsString() const { return units_string_; }
  /// Any text; unknown parts are shown as written.
  void SetUnitsString(std::string units_string) { units_string_ = std::move(units_string); }

  /// The text of the attached label: Caption, or Caption + " (" + entry label of
  /// UnitsString for Units + ")" when UnitsString is not empty.
  std::string LabelText() const;

  // --- Value and limits ---------------------------------------------------

  /// The text as it stands in the field (typed or written by the rules).
  const std::string& Text() const { return text_; }
  /// Replaces the text, as typing does; nothing is checked until Validate.
  void SetText(std::string text) { text_ = std::move(text); }

  /// Evaluates the current text. Throws TEvaluateError or TMathError (see
  /// tables/evaluator.h) when the text cannot be evaluated.
  long double Number() const;
  /// Shows `value` formatted as the field formats values, clamped into
  /// [MinVal, MaxVal] unless a definition is being loaded. NaN is ignored.
  void SetNumber(long double value);

  /// True when values are shown as "$" and hexadecimal digits.
  bool Hex() const { return hex_; }
  /// Switches the hex display; the text is not rewritten until the next
  /// SetNumber or successful Validate.
  void SetHex(bool hex) { hex_ = hex; }

  /// True when only integral values in the 32-bit range are accepted.
  bool IntegerOnly() const { return integer_only_; }
  /// Switches integers-only mode; turning it on re-applies MaxVal and MinVal,
  /// so that both fall into the 32-bit integer range.
  void SetIntegerOnly(bool on);

  /// Lower limit; the most negative finite value unless set.
  long double MinVal() const { return min_val_; }
  /// Upper limit; the largest finite value unless set.
  long double MaxVal() const { return max_val_; }
  /// Outside loading: x is raised to MinVal when below it, clamped into the
  /// 32-bit integer range with IntegerOnly, and a current value above x is
  /// replaced by x. While loading, x is stored as given. NaN is ignored.
  void SetMaxVal(long double x);
  /// Mirror of SetMaxVal: x is lowered to MaxVal when above it, and a current
  /// value below x is replaced by x.
  void SetMinVal(long double x);

  /// While a definition is being loaded, limits and values are stored as given
  /// (properties may arrive in any order). EndLoading does not re-check them.
  void BeginLoading() { loading_ = true; }
  /// Ends the loading state; later setters check and clamp again.
  void EndLoading() { loading_ = false; }
  /// True between BeginLoading and EndLoading.
  bool Loading() const { return loading_; }

  /// A value as this field shows it: "$" and at least four hexadecimal digits
  /// with Hex, else the general format with 18 significant digits.
  std::string Format(long double value) const;

  // --- Validation ---------------------------------------------------------

  /// Validates the text and returns the message for the user, or "" on success.
  /// In order: evaluation; with IntegerOnly a fractional value fails with
  /// "Entry must be an integer."; a value below MinVal shows MinVal and fails
  /// with "Entry must be greater than or equal to " + MinVal; above MaxVal
  /// likewise with "Entry must be less than or equal to " + MaxVal; a text that
  /// cannot be evaluated fails with "Entry must be a valid integer." under
  /// IntegerOnly and with the evaluator's message otherwise; an arithmetic
  /// fault fails with its message. On success the text becomes the formatted
  /// value. Valid() tells the outcome afterwards.
  std::string Validate();

  /// The validity flag: cleared when validation starts, set when it succeeds.
  /// A new field counts as valid (its text "0" is a valid entry).
  bool Valid() const { return valid_; }

  /// Keyboard rule: when the whole text is selected and one of + - / * ^ = % !
  /// is typed, the caret moves to the end first, so that the operator extends
  /// the value instead of replacing it.
  static bool ExtendsValue(char typed, bool whole_text_selected);

 private:
  std::string caption_;
  std::string units_string_;
  int units_ = 1;
  std::string text_ = "0";
  bool hex_ = false;
  bool integer_only_ = false;
  long double min_val_;
  long double max_val_;
  bool loading_ = false;
  bool valid_ = true;
};

}  // namespace kestra
