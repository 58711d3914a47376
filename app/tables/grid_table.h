// Grid tables: the non-visual data tables behind every list the user enters
// (wall stiffness by node range, loads, springs, soil layers, curves).
//
// A table holds typed columns of equal length, knows its row limits and the
// unit system its values are held in, and tells its editor (a window of the
// program, not part of this model) about every change through TSignal
// callbacks. A table column holds a whole sub-table per row, built from a
// template table found by identifier in the registry of the table's family;
// this is how a soil layer carries its parameter table and a p-y curve set its
// points.
//
// There are two families that behave alike: TGridTable and TGridTableChart
// (a table whose editor adds a curve preview and reading points from files).
// Each family has its own registry, so the same identifier may name a table
// in one family and a chart table in the other.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tables/grid_table_signal.h"

namespace kestra {

class TGridTable;
class TColumn;

/// An internal fault of the table model: a cell asked for data of a type its
/// column does not hold, a row outside the table, a broken definition.
class TGridTableError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

/// Outcome of storing typed text into a cell: ok, or the message the editor
/// shows in its information box (the cell then keeps its previous value).
struct TEntryResult {
  bool ok = true;
  std::string message;

  static TEntryResult Ok() { return {}; }
  static TEntryResult Error(std::string text) { return {false, std::move(text)}; }
  explicit operator bool() const { return ok; }
};

/// Column classes by the integer keys of the column stream format.
enum class TColumnKind : int {
  kEnum = 0,
  kInt = 1,
  kFloat = 2,
  kTable = 3,
  kString = 4,
};

// ---------------------------------------------------------------------------
// Registry

/// The tables of one family in creation order, with their identifiers.
/// Identifiers are unique within a registry: a table without an identifier of
/// its own gets the next counter value that no table holds, and assigning an
/// identifier another table holds swaps the two.
class TGridTableRegistry {
 public:
  TGridTableRegistry() = default;
  TGridTableRegistry(const TGridTableRegistry&) = delete;
  TGridTableRegistry& operator=(const TGridTableRegistry&) = delete;
  ~TGridTableRegistry();

  /// Number of tables registered.
  int Count() const { return static_cast<int>(tables_.size()); }
  /// The table at `position` in creation order; nullptr when out of range.
  TGridTable* At(int position) const;
  /// The first table (in creation order) holding `identifier`; nullptr when
  /// none does.
  TGridTable* Find(int identifier) const;

  /// Opens the editor window of a table (installed by the window layer;
  /// `modal` for sub-tables opened from a modal editor). Unset in tests.
  std::function<void(TGridTable& table, bool modal)> OpenEditorHook;

 private:
  friend class TGridTable;
  void Add(TGridTable* table);
  void Remove(TGridTable* table);
  int NextIdentifier();
  void Reassign(TGridTable& table, int identifier);

  std::vector<TGridTable*> tables_;
  int counter_ = 0;
};

/// An ordered list of table references, each either a registry position or
/// an identifier, resolved at every use; an unresolvable entry yields none.
class TGridTableList {
 public:
  explicit TGridTableList(const TGridTableRegistry& registry) : registry_(&registry) {}
  void AddPosition(int position) { entries_.push_back({false, position}); }
  void AddIdentifier(int identifier) { entries_.push_back({true, identifier}); }
  int Count() const { return static_cast<int>(entries_.size()); }
  /// The table of entry `i`, or nullptr when the entry resolves to none.
  TGridTable* Resolve(int i) const;

 private:
  struct Entry {
    bool by_identifier;
    int value;
  };
  const TGridTableRegistry* registry_;
  std::vector<Entry> entries_;
};

// ---------------------------------------------------------------------------
// Cells and columns

/// A cell proxy: a column and a row. Forwards to the column's operations for
/// that row; wrong-type access throws TGridTableError("Data of wrong type").
class TData {
 public:
  TData(TColumn& column, int row) : column_(&column), row_(row) {}
  TGridTable* AsTable() const;
  long double AsFloat() const;
  std::int32_t AsInteger() const;
  std::string AsText() const;
  void SetFloat(long double value) const;
  void SetInteger(std::int32_t value) const;
  /// Validates and stores typed text (see TColumn::SetText).
  TEntryResult SetText(const std::string& text) const;
  TColumn& Column() const { return *column_; }
  int Row() const { return row_; }

 private:
  TColumn* column_;
  int row_;
};

/// Base of all columns: header lines, visibility, the row count, and the
/// typed operations that fail with "Data of wrong type" where a column does
/// not hold that type.
class TColumn {
 public:
  TColumn(TGridTable* owner, std::vector<std::string> captions);
  virtual ~TColumn();
  TColumn(const TColumn&) = delete;
  TColumn& operator=(const TColumn&) = delete;

  virtual TColumnKind Kind() const = 0;

  /// Inserts `count` rows of default values before row `at` (0..RowCount).
  virtual void InsertRows(int at, int count);
  /// Removes row `row`.
  virtual void DeleteRow(int row);

  /// Number of header lines and header line `i` (float columns append the
  /// unit label to the last line).
  int CaptionLineCount() const { return static_cast<int>(captions_.size()); }
  virtual std::string CaptionLine(int i) const;
  const std::vector<std::string>& Captions() const { return captions_; }

  virtual TGridTable* GetTable(int row) const;
  virtual long double GetFloat(int row) const;
  virtual void SetFloat(int row, long double value);
  virtual std::int32_t GetInteger(int row) const;
  virtual void SetInteger(int row, std::int32_t value);
  /// The cell as text (empty for columns without text).
  virtual std::string GetText(int row) const;
  /// Evaluates typed text as an expression, validates it for the column and
  /// stores it; on failure the cell keeps its value and the result carries
  /// the message. The base column ignores text.
  virtual TEntryResult SetText(int row, const std::string& text);

  /// Whether any value held below this column (a sub-table) was edited.
  virtual bool IsModified() const { return false; }
  virtual void CloseEditors() {}
  virtual void ResetModified() {}
  /// Converts stored values from unit code `from` to `to`.
  virtual void SetUnits(int from, int to);
  /// Cells shown through controls (drop-down lists, buttons), never as text.
  virtual bool UsesEditControls() const { return false; }
  /// The smallest width the editor gives this column, in inches (the editor
  /// also fits the widest header line).
  virtual double MinWidthInches() const { return 0; }
  /// A column of the same class and definition, owned by `owner`, with no
  /// rows.
  virtual std::unique_ptr<TColumn> Clone(TGridTable* owner) const = 0;

  int RowCount() const { return row_count_; }
  TData Cell(int row) { return TData(*this, row); }
  /// Rows in the row group of `row` (all rows written together when the
  /// column is group-linked).
  int RowGroupSize() const;
  TGridTable* Owner() const { return owner_; }

  /// Columns that take no grid column in the editor.
  bool Visible = true;
  /// Writing a value writes it to every row of the row group.
  bool GroupLinked = false;

 protected:
  /// Throws TGridTableError when `row` lies outside the column.
  void CheckRow(int row) const;
  /// First and one-past-last row that a write to `row` reaches.
  std::pair<int, int> WriteRange(int row) const;
  /// Tells the owner table that the cell of `row` changed.
  void NotifyChanged(int row) const;
  /// Copies the common definition (captions, flags) into `to`.
  void CopyCommonTo(TColumn& to) const;
  [[noreturn]] static void WrongType();

 private:
  TGridTable* owner_;
  std::vector<std::string> captions_;
  int row_count_ = 0;
};

/// A choice from a list of texts, held as its 1-based number. In the first
/// column of a table, a new choice rebuilds the row's sub-table.
class TEnumColumn : public TColumn {
 public:
  TEnumColumn(TGridTable* owner, std::vector<std::string> captions, std::vector<std::string> choices);
  TColumnKind Kind() const override { return TColumnKind::kEnum; }
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  std::int32_t GetInteger(int row) const override;
  /// Stores `value`; a different value in the table's first column rebuilds
  /// the sub-table of the table's first table column in that row.
  void SetInteger(int row, std::int32_t value) override;
  std::string GetText(int row) const override;
  /// A number without fraction (else "Value must be an integer."), stored
  /// rounded and without a range check.
  TEntryResult SetText(int row, const std::string& text) override;
  bool UsesEditControls() const override { return true; }
  double MinWidthInches() const override { return 1.5; }
  std::unique_ptr<TColumn> Clone(TGridTable* owner) const override;

  const std::vector<std::string>& Choices() const { return choices_; }

 private:
  std::vector<std::string> choices_;
  std::vector<std::int32_t> values_;
};

/// A 32-bit integer with a default and limits (the limits are checked for
/// typed text while the table's editor is open).
class TIntColumn : public TColumn {
 public:
  TIntColumn(TGridTable* owner, std::vector<std::string> captions, std::int32_t default_value, std::int32_t minimum,
             std::int32_t maximum);
  TColumnKind Kind() const override { return TColumnKind::kInt; }
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  std::int32_t GetInteger(int row) const override;
  void SetInteger(int row, std::int32_t value) override;
  std::string GetText(int row) const override;
  /// With the table's editor open: "Entry must be an integer." for a value
  /// more than 1E-10 from an integer, "Entry must be between %d and %d." out
  /// of the limits. Without an editor the value is only rounded (and kept
  /// within the 32-bit range). Evaluator failures are passed on.
  TEntryResult SetText(int row, const std::string& text) override;
  double MinWidthInches() const override { return 0.5; }
  std::unique_ptr<TColumn> Clone(TGridTable* owner) const override;

  std::int32_t Default() const { return default_; }
  std::int32_t Minimum() const { return minimum_; }
  std::int32_t Maximum() const { return maximum_; }

 private:
  std::int32_t default_;
  std::int32_t minimum_;
  std::int32_t maximum_;
  std::vector<std::int32_t> values_;
};

/// A real number held in the display units of its unit string.
class TFloatColumn : public TColumn {
 public:
  TFloatColumn(TGridTable* owner, std::vector<std::string> captions, std::string unit_string,
               long double default_value);
  TColumnKind Kind() const override { return TColumnKind::kFloat; }
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  /// The last line gets the unit label for the table's units, as
  /// "<line> (<label>)  ", when the unit string is not empty.
  std::string CaptionLine(int i) const override;
  long double GetFloat(int row) const override;
  void SetFloat(int row, long double value) override;
  /// The general format with 8 significant digits.
  std::string GetText(int row) const override;
  /// Stores the evaluated expression; evaluator failures are passed on.
  TEntryResult SetText(int row, const std::string& text) override;
  /// Multiplies every value by the factor of the unit string between the
  /// two systems and notifies each row.
  void SetUnits(int from, int to) override;
  double MinWidthInches() const override { return 0.5; }
  std::unique_ptr<TColumn> Clone(TGridTable* owner) const override;

  const std::string& UnitString() const { return unit_string_; }
  long double Default() const { return default_; }

 private:
  std::string unit_string_;
  long double default_;
  std::vector<long double> values_;
};

/// One sub-table per row, built from a template chosen by the row's value in
/// the table's first column (when that is an enum; otherwise the single
/// template).
class TTableColumn : public TColumn {
 public:
  /// `template_ids` holds one template identifier per choice of the table's
  /// first column; -1 means none. The list is padded or cut to the number of
  /// choices when the table's definition ends.
  TTableColumn(TGridTable* owner, std::vector<std::string> captions, std::vector<int> template_ids);
  ~TTableColumn() override;
  TColumnKind Kind() const override { return TColumnKind::kTable; }
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  /// The sub-table of `row`; nullptr when its choice has no template.
  TGridTable* GetTable(int row) const override;
  bool IsModified() const override;
  void CloseEditors() override;
  void ResetModified() override;
  void SetUnits(int from, int to) override;
  bool UsesEditControls() const override { return true; }
  double MinWidthInches() const override { return 2.0; }
  std::unique_ptr<TColumn> Clone(TGridTable* owner) const override;

  /// The caption of the row's button: "%d: %s" with the 1-based row and the
  /// sub-table's numbered caption; empty when the cell is empty.
  std::string ButtonCaption(int row) const;
  /// Replaces the sub-table of `row` by a new one built from the template of
  /// the row's current choice (the old one and its values are discarded).
  void RebuildSubTable(int row);

  const std::vector<int>& TemplateIds() const { return template_ids_; }
  /// Pads with -1 or cuts the template list to `choices` entries.
  void FitTemplateList(int choices);

 private:
  std::unique_ptr<TGridTable> BuildSubTable(int row) const;
  void Renumber(int first_row);

  std::vector<int> template_ids_;
  std::vector<std::unique_ptr<TGridTable>> tables_;
};

/// Free text (no table of the program uses one).
class TStringColumn : public TColumn {
 public:
  TStringColumn(TGridTable* owner, std::vector<std::string> captions, std::string default_text, double width_inches);
  TColumnKind Kind() const override { return TColumnKind::kString; }
  void InsertRows(int at, int count) override;
  void DeleteRow(int row) override;
  std::string GetText(int row) const override;
  TEntryResult SetText(int row, const std::string& text) override;
  double MinWidthInches() const override { return width_inches_; }
  std::unique_ptr<TColumn> Clone(TGridTable* owner) const override;

 private:
  std::string default_text_;
  double width_inches_;
  std::vector<std::string> values_;
};

// ---------------------------------------------------------------------------
// Tables

/// A grid table. Top-level tables are owned by TProgramTables; a sub-table is
/// owned by the table column cell that holds it.
class TGridTable {
 public:
  /// Enters `registry` (which must outlive the table) with the next free
  /// identifier. `owner` is the holding table of a sub-table, else nullptr.
  /// The table starts in definition mode (see EndDefinition).
  explicit TGridTable(TGridTableRegistry& registry, TGridTable* owner = nullptr);
  virtual ~TGridTable();
  TGridTable(const TGridTable&) = delete;
  TGridTable& operator=(const TGridTable&) = delete;

  /// True for the chart family.
  virtual bool IsChart() const { return false; }

  // --- Definition --------------------------------------------------------
  std::string Caption;
  /// Note shown under the grid in the editor (lines separated by '\n').
  std::string Comments;
  /// Header of the row-number column.
  std::string TopLeft;
  /// Name of the picture shown under the grid (empty for none); the window
  /// layer maps names to its resources.
  std::string HelpPicture;
  /// Stored with the definition; has no effect.
  bool HardwiredButton = false;

  int Identifier() const { return identifier_; }
  /// Takes `identifier`; a table of the registry that held it gets this
  /// table's previous identifier. A negative value is ignored.
  void SetIdentifier(int identifier);

  int MinRows() const { return min_rows_; }
  /// At least 1: during the definition smaller values become 1, afterwards
  /// they throw TGridTableError("Value must be greater than 0").
  void SetMinRows(int rows);
  /// Maximum rows; 0 means no limit (negative values become 0).
  int MaxRows() const { return max_rows_; }
  void SetMaxRows(int rows);
  /// Rows are added, inserted and deleted in groups of this size (at least 1).
  int RowGroup() const { return row_group_; }
  void SetRowGroup(int rows);

  /// Adds a column (built for this table) and returns it. Only during the
  /// definition, before any row exists.
  template <typename Column, typename... Args>
  Column& AddColumn(Args&&... args) {
    auto column = std::make_unique<Column>(this, std::forward<Args>(args)...);
    Column& ref = *column;
    AdoptColumn(std::move(column));
    return ref;
  }
  /// Ends the definition: fits the template lists of table columns to the
  /// choices of the first column. Called once the columns are defined.
  void EndDefinition();
  bool InDefinition() const { return in_definition_; }

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  /// Column `i`; throws TGridTableError when out of range.
  TColumn& Column(int i) const;
  /// Index of `column` in this table, or -1.
  int ColumnIndex(const TColumn* column) const;
  /// The cell proxy of (column, row); throws when the column is out of range.
  TData Cell(int column, int row) const;
  bool HasVisibleColumn() const;

  // --- Rows --------------------------------------------------------------
  int RowCount() const { return row_count_; }
  /// Removes rows from the end or appends default rows until there are
  /// `rows` (negative counts as 0). No limits apply: the project empties
  /// tables with it and sizes them from the counts in files.
  void SetRowCount(int rows);
  /// Appends default rows up to MinRows.
  void FillToMinRows();
  /// Adding or inserting is possible while the row count differs from
  /// MaxRows (always without a maximum).
  bool CanAddRows() const;
  /// Deleting is possible while the row count exceeds MinRows.
  bool CanDeleteRows() const;
  /// Appends one row group of default rows. Refused (false) at MaxRows.
  /// Sets the modified flag.
  bool AppendRowGroup();
  /// Inserts a row group before the group holding `row`. Refused (false) at
  /// MaxRows or for a row outside the table (RowCount appends).
  bool InsertRowGroup(int row);
  /// Deletes the row group holding `row`. Refused (false) when that would go
  /// below MinRows or `row` lies outside the table.
  bool DeleteRowGroup(int row);

  // --- Editing -------------------------------------------------------------
  /// What the editor does when a cell is left: sets the modified flag and
  /// hands the text to the column's validation.
  TEntryResult CommitText(int column, int row, const std::string& text);

  // --- Units ---------------------------------------------------------------
  /// Unit code 1..3 the float values are held in.
  int Units() const { return units_; }
  /// Converts every column when `code` (clamped into 1..3) differs from the
  /// current code, stores it and notifies RowsChanged (labels change).
  void SetUnits(int code);

  // --- Modified ------------------------------------------------------------
  /// The table's own flag or any column's (sub-table) change.
  bool Modified() const;
  void SetModified() { modified_ = true; }
  /// Clears the flag here and in every sub-table.
  void ResetModified();

  // --- Numbering and titles ------------------------------------------------
  /// 0 for a top-level table; the 1-based holding row for a sub-table.
  int TableNumber() const { return table_number_; }
  /// Stores `number` and, with an editor open, notifies TitleChanged.
  void SetTableNumber(int number);
  /// The caption followed by the number chain (a space and the number of
  /// every numbered table from the outermost owner inwards).
  std::string Title() const;
  TGridTable* Owner() const { return owner_; }
  TGridTableRegistry& Registry() const { return *registry_; }

  // --- Editor --------------------------------------------------------------
  /// Asks the window layer to open (or raise) the editor. Does nothing and
  /// returns false without a visible column. Fills the table to MinRows first.
  bool OpenEditor(bool modal = false);
  /// Closes the editor (EditorCloseRequested) and those of every sub-table.
  void CloseEditor();
  /// Maintained by the window layer: whether an editor shows this table.
  bool EditorOpen() const { return editor_open_; }
  void SetEditorOpen(bool open) { editor_open_ = open; }

  // --- Notifications ---------------------------------------------------------
  /// A cell's value changed (column, row).
  TSignal<int, int> CellChanged;
  /// The row count or the labels changed: the editor rebuilds its grid.
  TSignal<> RowsChanged;
  /// The title (number chain) changed while an editor is open.
  TSignal<const std::string&> TitleChanged;
  /// The editor must close (the table closes it or is being destroyed).
  TSignal<> EditorCloseRequested;

  /// Builds a sub-table for `row` of this table from `tmpl`, in the family of
  /// `tmpl`: same caption, comments, row header, limits, clones of its
  /// columns (and for a chart its chart settings), this table's units,
  /// numbered row + 1, filled to its minimum rows. Registered in this
  /// table's registry.
  std::unique_ptr<TGridTable> CreateSubTable(const TGridTable& tmpl, int row);

  /// Called by columns when a cell changed.
  void NotifyCellChanged(const TColumn& column, int row);
  /// Called by the first-column enum when its value changed in `row`.
  void ChoiceChanged(int row);

 private:
  void AdoptColumn(std::unique_ptr<TColumn> column);
  void InsertRowsAt(int at, int count);
  void DeleteRowsAt(int at, int count);
  void SetIdentifierRaw(int identifier) { identifier_ = identifier; }
  friend class TGridTableRegistry;

  TGridTableRegistry* registry_;
  TGridTable* owner_;
  std::vector<std::unique_ptr<TColumn>> columns_;
  int identifier_ = -1;
  int min_rows_ = 1;
  int max_rows_ = 0;
  int row_group_ = 1;
  int row_count_ = 0;
  int units_ = 1;
  int table_number_ = 0;
  bool modified_ = false;
  bool editor_open_ = false;
  bool in_definition_ = true;
};

/// A grid table whose editor shows a curve preview and can read points from
/// a text file or the clipboard.
class TGridTableChart : public TGridTable {
 public:
  explicit TGridTableChart(TGridTableRegistry& registry, TGridTable* owner = nullptr) : TGridTable(registry, owner) {}
  bool IsChart() const override { return true; }

  /// The editor offers reading points from a file or the clipboard.
  bool GetDataFromFile = false;
  /// The editor shows OK and Cancel.
  bool OKCancelButtons = false;
  bool InvertedXAxis = false;
  bool InvertedYAxis = false;
  // Graphic parameters.
  bool PreviewShown = false;
  /// A segment sketch replaces the curve (stored; no table uses it).
  bool SegmentSketch = false;
  int XColumn = 0;
  int YColumn = 1;
  int SecondXColumn = 0;
  int SecondYColumn = 1;
};

// Names of the chart family's classes: the classes are shared, the family is
// told apart by the table (and its registry).
using TColumnChart = TColumn;
using TEnumColumnChart = TEnumColumn;
using TIntColumnChart = TIntColumn;
using TFloatColumnChart = TFloatColumn;
using TTableColumnChart = TTableColumn;
using TStringColumnChart = TStringColumn;
using TDataChart = TData;
using TGridTableListChart = TGridTableList;

}  // namespace kestra
