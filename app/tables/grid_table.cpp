#include "tables/grid_table.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "data/units.h"
#include "tables/evaluator.h"
#include "tables/number_format.h"

namespace kestra {

namespace {

// Beyond this a row count can only come from a damaged file or a fault; the
// largest tables of the program hold 100 rows (LongDist has no maximum but is
// filled by hand or from a file of depths).
constexpr int kRowCountLimit = 100000;

// Sub-tables of sub-tables are allowed, but a template that (directly or not)
// holds itself would recurse without end while filling its minimum rows.
constexpr int kMaxNestingDepth = 16;

// Rounds to the nearest integer (ties to even, as the system's Round always
// did) and keeps the result within the 32-bit range.
std::int32_t RoundToInt32(long double v) {
  const long double r = std::nearbyint(v);
  if (r <= static_cast<long double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (r >= static_cast<long double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(r);
}

}  // namespace

// ---------------------------------------------------------------------------
// Registry

TGridTableRegistry::~TGridTableRegistry() = default;

TGridTable* TGridTableRegistry::At(int position) const {
  if (position < 0 || position >= Count()) return nullptr;
  return tables_[static_cast<std::size_t>(position)];
}

TGridTable* TGridTableRegistry::Find(int identifier) const {
  for (TGridTable* t : tables_) {
    if (t->Identifier() == identifier) return t;
  }
  return nullptr;
}

void TGridTableRegistry::Add(TGridTable* table) {
  tables_.push_back(table);
  table->SetIdentifierRaw(NextIdentifier());
}

void TGridTableRegistry::Remove(TGridTable* table) { std::erase(tables_, table); }

int TGridTableRegistry::NextIdentifier() {
  // Skipping held values keeps identifiers unique: a counter value that a
  // definition already took must not make a second table answer to it.
  while (Find(counter_) != nullptr) ++counter_;
  return counter_++;
}

void TGridTableRegistry::Reassign(TGridTable& table, int identifier) {
  if (identifier < 0 || identifier == table.Identifier()) return;
  if (TGridTable* holder = Find(identifier)) holder->SetIdentifierRaw(table.Identifier());
  table.SetIdentifierRaw(identifier);
}

TGridTable* TGridTableList::Resolve(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  const Entry& e = entries_[static_cast<std::size_t>(i)];
  return e.by_identifier ? registry_->Find(e.value) : registry_->At(e.value);
}

// ---------------------------------------------------------------------------
// TData

TGridTable* TData::AsTable() const { return column_->GetTable(row_); }
long double TData::AsFloat() const { return column_->GetFloat(row_); }
std::int32_t TData::AsInteger() const { return column_->GetInteger(row_); }
std::string TData::AsText() const { return column_->GetText(row_); }
void TData::SetFloat(long double value) const { column_->SetFloat(row_, value); }
void TData::SetInteger(std::int32_t value) const { column_->SetInteger(row_, value); }
TEntryResult TData::SetText(const std::string& text) const { return column_->SetText(row_, text); }

// ---------------------------------------------------------------------------
// TColumn

TColumn::TColumn(TGridTable* owner, std::vector<std::string> captions)
    : owner_(owner), captions_(std::move(captions)) {}

TColumn::~TColumn() = default;

void TColumn::InsertRows(int at, int count) {
  if (at < 0 || at > row_count_ || count < 0) throw TGridTableError("Row index out of range");
  row_count_ += count;
}

void TColumn::DeleteRow(int row) {
  CheckRow(row);
  --row_count_;
}

std::string TColumn::CaptionLine(int i) const {
  if (i < 0 || i >= CaptionLineCount()) return {};
  return captions_[static_cast<std::size_t>(i)];
}

TGridTable* TColumn::GetTable(int) const { WrongType(); }
long double TColumn::GetFloat(int) const { WrongType(); }
void TColumn::SetFloat(int, long double) { WrongType(); }
std::int32_t TColumn::GetInteger(int) const { WrongType(); }
void TColumn::SetInteger(int, std::int32_t) { WrongType(); }
std::string TColumn::GetText(int row) const {
  CheckRow(row);
  return {};
}
TEntryResult TColumn::SetText(int row, const std::string&) {
  CheckRow(row);
  return TEntryResult::Ok();
}
void TColumn::SetUnits(int, int) {}

int TColumn::RowGroupSize() const { return owner_ != nullptr ? owner_->RowGroup() : 1; }

void TColumn::CheckRow(int row) const {
  if (row < 0 || row >= row_count_) throw TGridTableError("Row index out of range");
}

std::pair<int, int> TColumn::WriteRange(int row) const {
  CheckRow(row);
  if (!GroupLinked) return {row, row + 1};
  const int group = RowGroupSize();
  const int first = row / group * group;
  return {first, std::min(first + group, row_count_)};
}

void TColumn::NotifyChanged(int row) const {
  if (owner_ != nullptr) owner_->NotifyCellChanged(*this, row);
}

void TColumn::CopyCommonTo(TColumn& to) const {
  to.Visible = Visible;
  to.GroupLinked = GroupLinked;
}

void TColumn::WrongType() { throw TGridTableError("Data of wrong type"); }

// ---------------------------------------------------------------------------
// TEnumColumn

TEnumColumn::TEnumColumn(TGridTable* owner, std::vector<std::string> captions, std::vector<std::string> choices)
    : TColumn(owner, std::move(captions)), choices_(std::move(choices)) {}

void TEnumColumn::InsertRows(int at, int count) {
  TColumn::InsertRows(at, count);
  values_.insert(values_.begin() + at, static_cast<std::size_t>(count), 1);
}

void TEnumColumn::DeleteRow(int row) {
  TColumn::DeleteRow(row);
  values_.erase(values_.begin() + row);
}

std::int32_t TEnumColumn::GetInteger(int row) const {
  CheckRow(row);
  return values_[static_cast<std::size_t>(row)];
}

void TEnumColumn::SetInteger(int row, std::int32_t value) {
  const auto [first, last] = WriteRange(row);
  const bool first_column = Owner() != nullptr && Owner()->ColumnIndex(this) == 0;
  for (int r = first; r < last; ++r) {
    const std::int32_t old = values_[static_cast<std::size_t>(r)];
    values_[static_cast<std::size_t>(r)] = value;
    if (old != value && first_column) Owner()->ChoiceChanged(r);
    NotifyChanged(r);
  }
}

std::string TEnumColumn::GetText(int row) const { return std::to_string(GetInteger(row)); }

TEntryResult TEnumColumn::SetText(int row, const std::string& text) {
  CheckRow(row);
  const EvaluateResult e = TryEvaluate(text);
  if (!e.ok) return TEntryResult::Error(e.message);
  if (e.value != std::nearbyint(e.value)) return TEntryResult::Error("Value must be an integer.");
  SetInteger(row, RoundToInt32(e.value));
  return TEntryResult::Ok();
}

std::unique_ptr<TColumn> TEnumColumn::Clone(TGridTable* owner) const {
  auto c = std::make_unique<TEnumColumn>(owner, Captions(), choices_);
  CopyCommonTo(*c);
  return c;
}

// ---------------------------------------------------------------------------
// TIntColumn

TIntColumn::TIntColumn(TGridTable* owner, std::vector<std::string> captions, std::int32_t default_value,
                       std::int32_t minimum, std::int32_t maximum)
    : TColumn(owner, std::move(captions)), default_(default_value), minimum_(minimum), maximum_(maximum) {}

void TIntColumn::InsertRows(int at, int count) {
  TColumn::InsertRows(at, count);
  values_.insert(values_.begin() + at, static_cast<std::size_t>(count), default_);
}

void TIntColumn::DeleteRow(int row) {
  TColumn::DeleteRow(row);
  values_.erase(values_.begin() + row);
}

std::int32_t TIntColumn::GetInteger(int row) const {
  CheckRow(row);
  return values_[static_cast<std::size_t>(row)];
}

void TIntColumn::SetInteger(int row, std::int32_t value) {
  const auto [first, last] = WriteRange(row);
  for (int r = first; r < last; ++r) {
    values_[static_cast<std::size_t>(r)] = value;
    NotifyChanged(r);
  }
}

std::string TIntColumn::GetText(int row) const { return std::to_string(GetInteger(row)); }

TEntryResult TIntColumn::SetText(int row, const std::string& text) {
  CheckRow(row);
  const EvaluateResult e = TryEvaluate(text);
  if (!e.ok) return TEntryResult::Error(e.message);
  const long double rounded = std::nearbyint(e.value);
  if (Owner() != nullptr && Owner()->EditorOpen()) {
    // Measured from the nearest integer, so that 2.99999999999 (a result of
    // the 18-digit arithmetic) counts as 3 just as 3.00000000001 does.
    if (std::fabs(e.value - rounded) > 1e-10L) return TEntryResult::Error("Entry must be an integer.");
    if (rounded < minimum_ || rounded > maximum_) {
      return TEntryResult::Error("Entry must be between " + std::to_string(minimum_) + " and " +
                                 std::to_string(maximum_) + ".");
    }
  }
  SetInteger(row, RoundToInt32(e.value));
  return TEntryResult::Ok();
}

std::unique_ptr<TColumn> TIntColumn::Clone(TGridTable* owner) const {
  auto c = std::make_unique<TIntColumn>(owner, Captions(), default_, minimum_, maximum_);
  CopyCommonTo(*c);
  return c;
}

// ---------------------------------------------------------------------------
// TFloatColumn

TFloatColumn::TFloatColumn(TGridTable* owner, std::vector<std::string> captions, std::string unit_string,
                           long double default_value)
    : TColumn(owner, std::move(captions)), unit_string_(std::move(unit_string)), default_(default_value) {}

void TFloatColumn::InsertRows(int at, int count) {
  TColumn::InsertRows(at, count);
  values_.insert(values_.begin() + at, static_cast<std::size_t>(count), default_);
}

void TFloatColumn::DeleteRow(int row) {
  TColumn::DeleteRow(row);
  values_.erase(values_.begin() + row);
}

std::string TFloatColumn::CaptionLine(int i) const {
  std::string line = TColumn::CaptionLine(i);
  if (i == CaptionLineCount() - 1 && !unit_string_.empty()) {
    const int units = Owner() != nullptr ? Owner()->Units() : kUnitsEnglish;
    line += " (" + unit_label(unit_string_, units) + ")  ";
  }
  return line;
}

long double TFloatColumn::GetFloat(int row) const {
  CheckRow(row);
  return values_[static_cast<std::size_t>(row)];
}

void TFloatColumn::SetFloat(int row, long double value) {
  const auto [first, last] = WriteRange(row);
  for (int r = first; r < last; ++r) {
    values_[static_cast<std::size_t>(r)] = value;
    NotifyChanged(r);
  }
}

std::string TFloatColumn::GetText(int row) const { return format_general8(GetFloat(row)); }

TEntryResult TFloatColumn::SetText(int row, const std::string& text) {
  CheckRow(row);
  const EvaluateResult e = TryEvaluate(text);
  if (!e.ok) return TEntryResult::Error(e.message);
  SetFloat(row, e.value);
  return TEntryResult::Ok();
}

void TFloatColumn::SetUnits(int from, int to) {
  const long double factor = unit_factor(from, to, unit_string_);
  if (factor == 1.0L) return;
  for (int r = 0; r < RowCount(); ++r) {
    values_[static_cast<std::size_t>(r)] *= factor;
    NotifyChanged(r);
  }
}

std::unique_ptr<TColumn> TFloatColumn::Clone(TGridTable* owner) const {
  auto c = std::make_unique<TFloatColumn>(owner, Captions(), unit_string_, default_);
  CopyCommonTo(*c);
  return c;
}

// ---------------------------------------------------------------------------
// TTableColumn

TTableColumn::TTableColumn(TGridTable* owner, std::vector<std::string> captions, std::vector<int> template_ids)
    : TColumn(owner, std::move(captions)), template_ids_(std::move(template_ids)) {}

TTableColumn::~TTableColumn() = default;

void TTableColumn::InsertRows(int at, int count) {
  if (at < 0 || at > RowCount() || count < 0) throw TGridTableError("Row index out of range");
  // Built before anything is stored, so that a failing template leaves the
  // column as it was.
  std::vector<std::unique_ptr<TGridTable>> fresh;
  for (int r = at; r < at + count; ++r) fresh.push_back(BuildSubTable(r));
  TColumn::InsertRows(at, count);
  tables_.insert(tables_.begin() + at, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
  Renumber(at + count);
}

void TTableColumn::DeleteRow(int row) {
  TColumn::DeleteRow(row);
  // Destroying the sub-table closes its editor.
  tables_.erase(tables_.begin() + row);
  Renumber(row);
}

TGridTable* TTableColumn::GetTable(int row) const {
  CheckRow(row);
  return tables_[static_cast<std::size_t>(row)].get();
}

bool TTableColumn::IsModified() const {
  return std::any_of(tables_.begin(), tables_.end(), [](const auto& t) { return t != nullptr && t->Modified(); });
}

void TTableColumn::CloseEditors() {
  for (auto& t : tables_) {
    if (t != nullptr) t->CloseEditor();
  }
}

void TTableColumn::ResetModified() {
  for (auto& t : tables_) {
    if (t != nullptr) t->ResetModified();
  }
}

void TTableColumn::SetUnits(int, int to) {
  for (auto& t : tables_) {
    if (t != nullptr) t->SetUnits(to);
  }
}

std::unique_ptr<TColumn> TTableColumn::Clone(TGridTable* owner) const {
  auto c = std::make_unique<TTableColumn>(owner, Captions(), template_ids_);
  CopyCommonTo(*c);
  return c;
}

std::string TTableColumn::ButtonCaption(int row) const {
  const TGridTable* t = GetTable(row);
  if (t == nullptr) return {};
  return std::to_string(row + 1) + ": " + t->Title();
}

void TTableColumn::RebuildSubTable(int row) {
  CheckRow(row);
  std::unique_ptr<TGridTable> fresh = BuildSubTable(row);
  // The replaced table (and its editor) goes only after the new one is in
  // place, so that a slot reacting to the close sees a consistent cell.
  std::unique_ptr<TGridTable> old = std::move(tables_[static_cast<std::size_t>(row)]);
  tables_[static_cast<std::size_t>(row)] = std::move(fresh);
  old.reset();
  NotifyChanged(row);
}

void TTableColumn::FitTemplateList(int choices) {
  template_ids_.resize(static_cast<std::size_t>(std::max(choices, 0)), -1);
}

std::unique_ptr<TGridTable> TTableColumn::BuildSubTable(int row) const {
  TGridTable* owner = Owner();
  if (owner == nullptr) return nullptr;
  int choice = 1;
  if (owner->ColumnCount() > 0 && owner->Column(0).Kind() == TColumnKind::kEnum) {
    choice = owner->Column(0).GetInteger(row);
  }
  if (choice < 1 || choice > static_cast<int>(template_ids_.size())) return nullptr;
  const int id = template_ids_[static_cast<std::size_t>(choice - 1)];
  if (id < 0) return nullptr;
  const TGridTable* tmpl = owner->Registry().Find(id);
  if (tmpl == nullptr) return nullptr;
  return owner->CreateSubTable(*tmpl, row);
}

void TTableColumn::Renumber(int first_row) {
  for (int r = std::max(first_row, 0); r < static_cast<int>(tables_.size()); ++r) {
    if (tables_[static_cast<std::size_t>(r)] != nullptr) {
      tables_[static_cast<std::size_t>(r)]->SetTableNumber(r + 1);
    }
  }
}

// ---------------------------------------------------------------------------
// TStringColumn

TStringColumn::TStringColumn(TGridTable* owner, std::vector<std::string> captions, std::string default_text,
                             double width_inches)
    : TColumn(owner, std::move(captions)), default_text_(std::move(default_text)), width_inches_(width_inches) {}

void TStringColumn::InsertRows(int at, int count) {
  TColumn::InsertRows(at, count);
  values_.insert(values_.begin() + at, static_cast<std::size_t>(count), default_text_);
}

void TStringColumn::DeleteRow(int row) {
  TColumn::DeleteRow(row);
  values_.erase(values_.begin() + row);
}

std::string TStringColumn::GetText(int row) const {
  CheckRow(row);
  return values_[static_cast<std::size_t>(row)];
}

TEntryResult TStringColumn::SetText(int row, const std::string& text) {
  const auto [first, last] = WriteRange(row);
  for (int r = first; r < last; ++r) {
    values_[static_cast<std::size_t>(r)] = text;
    NotifyChanged(r);
  }
  return TEntryResult::Ok();
}

std::unique_ptr<TColumn> TStringColumn::Clone(TGridTable* owner) const {
  auto c = std::make_unique<TStringColumn>(owner, Captions(), default_text_, width_inches_);
  CopyCommonTo(*c);
  return c;
}

// ---------------------------------------------------------------------------
// TGridTable

TGridTable::TGridTable(TGridTableRegistry& registry, TGridTable* owner) : registry_(&registry), owner_(owner) {
  if (owner_ != nullptr) units_ = owner_->units_;
  registry_->Add(this);
}

TGridTable::~TGridTable() {
  // Whatever window shows this table must go before the table does.
  EditorCloseRequested.Emit();
  editor_open_ = false;
  columns_.clear();
  registry_->Remove(this);
}

void TGridTable::SetIdentifier(int identifier) { registry_->Reassign(*this, identifier); }

void TGridTable::SetMinRows(int rows) {
  if (rows < 1) {
    if (!in_definition_) throw TGridTableError("Value must be greater than 0");
    rows = 1;
  }
  min_rows_ = rows;
}

void TGridTable::SetMaxRows(int rows) { max_rows_ = std::max(rows, 0); }

void TGridTable::SetRowGroup(int rows) { row_group_ = std::max(rows, 1); }

void TGridTable::AdoptColumn(std::unique_ptr<TColumn> column) {
  if (!in_definition_ || row_count_ > 0) {
    throw TGridTableError("Columns can only be added while the table is defined");
  }
  columns_.push_back(std::move(column));
}

void TGridTable::EndDefinition() {
  int choices = 1;
  if (!columns_.empty() && columns_.front()->Kind() == TColumnKind::kEnum) {
    choices = static_cast<int>(static_cast<const TEnumColumn&>(*columns_.front()).Choices().size());
  }
  for (auto& c : columns_) {
    if (c->Kind() == TColumnKind::kTable) static_cast<TTableColumn&>(*c).FitTemplateList(choices);
  }
  in_definition_ = false;
}

TColumn& TGridTable::Column(int i) const {
  if (i < 0 || i >= ColumnCount()) throw TGridTableError("Column index out of range");
  return *columns_[static_cast<std::size_t>(i)];
}

int TGridTable::ColumnIndex(const TColumn* column) const {
  for (int i = 0; i < ColumnCount(); ++i) {
    if (columns_[static_cast<std::size_t>(i)].get() == column) return i;
  }
  return -1;
}

TData TGridTable::Cell(int column, int row) const { return TData(Column(column), row); }

bool TGridTable::HasVisibleColumn() const {
  return std::any_of(columns_.begin(), columns_.end(), [](const auto& c) { return c->Visible; });
}

void TGridTable::InsertRowsAt(int at, int count) {
  // Columns in order: a table column reads the choice of the first column,
  // which therefore holds its new rows already.
  std::size_t done = 0;
  try {
    for (; done < columns_.size(); ++done) columns_[done]->InsertRows(at, count);
  } catch (...) {
    // Columns keep equal lengths even when a sub-table cannot be built.
    for (std::size_t i = 0; i < done; ++i) {
      for (int k = 0; k < count; ++k) columns_[i]->DeleteRow(at);
    }
    throw;
  }
  row_count_ += count;
}

void TGridTable::DeleteRowsAt(int at, int count) {
  for (int r = at + count - 1; r >= at; --r) {
    for (auto& c : columns_) c->DeleteRow(r);
    --row_count_;
  }
}

void TGridTable::SetRowCount(int rows) {
  rows = std::max(rows, 0);
  if (rows > kRowCountLimit) {
    throw TGridTableError("Row count " + std::to_string(rows) + " out of range");
  }
  if (rows == row_count_) return;
  if (rows > row_count_) {
    InsertRowsAt(row_count_, rows - row_count_);
  } else {
    DeleteRowsAt(rows, row_count_ - rows);
  }
  RowsChanged.Emit();
}

void TGridTable::FillToMinRows() {
  if (row_count_ < min_rows_) SetRowCount(min_rows_);
}

bool TGridTable::CanAddRows() const {
  return row_count_ + row_group_ <= kRowCountLimit && (max_rows_ == 0 || row_count_ + row_group_ <= max_rows_);
}

bool TGridTable::CanDeleteRows() const { return row_count_ - row_group_ >= min_rows_; }

bool TGridTable::AppendRowGroup() {
  if (!CanAddRows()) return false;
  InsertRowsAt(row_count_, row_group_);
  modified_ = true;
  RowsChanged.Emit();
  return true;
}

bool TGridTable::InsertRowGroup(int row) {
  if (!CanAddRows() || row < 0 || row > row_count_) return false;
  const int at = row == row_count_ ? row_count_ : row / row_group_ * row_group_;
  InsertRowsAt(at, row_group_);
  modified_ = true;
  RowsChanged.Emit();
  return true;
}

bool TGridTable::DeleteRowGroup(int row) {
  if (!CanDeleteRows() || row < 0 || row >= row_count_) return false;
  const int first = row / row_group_ * row_group_;
  DeleteRowsAt(first, std::min(row_group_, row_count_ - first));
  modified_ = true;
  RowsChanged.Emit();
  return true;
}

TEntryResult TGridTable::CommitText(int column, int row, const std::string& text) {
  TColumn& c = Column(column);
  modified_ = true;
  return c.SetText(row, text);
}

void TGridTable::SetUnits(int code) {
  code = clamp_unit_code(code);
  if (code == units_) return;
  for (auto& c : columns_) c->SetUnits(units_, code);
  units_ = code;
  RowsChanged.Emit();
}

bool TGridTable::Modified() const {
  return modified_ || std::any_of(columns_.begin(), columns_.end(), [](const auto& c) { return c->IsModified(); });
}

void TGridTable::ResetModified() {
  modified_ = false;
  for (auto& c : columns_) c->ResetModified();
}

void TGridTable::SetTableNumber(int number) {
  table_number_ = number;
  if (editor_open_) TitleChanged.Emit(Title());
}

std::string TGridTable::Title() const {
  std::vector<int> chain;
  for (const TGridTable* t = this; t != nullptr; t = t->owner_) {
    if (t->table_number_ != 0) chain.push_back(t->table_number_);
  }
  std::string title = Caption;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) title += " " + std::to_string(*it);
  return title;
}

bool TGridTable::OpenEditor(bool modal) {
  if (!HasVisibleColumn()) return false;
  FillToMinRows();
  if (registry_->OpenEditorHook) registry_->OpenEditorHook(*this, modal);
  return true;
}

void TGridTable::CloseEditor() {
  if (editor_open_) {
    EditorCloseRequested.Emit();
    editor_open_ = false;
  }
  for (auto& c : columns_) c->CloseEditors();
}

void TGridTable::NotifyCellChanged(const TColumn& column, int row) { CellChanged.Emit(ColumnIndex(&column), row); }

void TGridTable::ChoiceChanged(int row) {
  for (auto& c : columns_) {
    if (c->Kind() == TColumnKind::kTable) {
      static_cast<TTableColumn&>(*c).RebuildSubTable(row);
      return;
    }
  }
}

std::unique_ptr<TGridTable> TGridTable::CreateSubTable(const TGridTable& tmpl, int row) {
  int depth = 0;
  for (const TGridTable* t = this; t != nullptr; t = t->owner_) {
    if (++depth > kMaxNestingDepth) throw TGridTableError("Sub-tables nested too deeply");
  }

  std::unique_ptr<TGridTable> sub;
  if (tmpl.IsChart()) {
    const auto& from = static_cast<const TGridTableChart&>(tmpl);
    auto chart = std::make_unique<TGridTableChart>(*registry_, this);
    chart->GetDataFromFile = from.GetDataFromFile;
    chart->OKCancelButtons = from.OKCancelButtons;
    chart->InvertedXAxis = from.InvertedXAxis;
    chart->InvertedYAxis = from.InvertedYAxis;
    chart->PreviewShown = from.PreviewShown;
    chart->SegmentSketch = from.SegmentSketch;
    chart->XColumn = from.XColumn;
    chart->YColumn = from.YColumn;
    chart->SecondXColumn = from.SecondXColumn;
    chart->SecondYColumn = from.SecondYColumn;
    sub = std::move(chart);
  } else {
    sub = std::make_unique<TGridTable>(*registry_, this);
  }
  sub->Caption = tmpl.Caption;
  sub->Comments = tmpl.Comments;
  sub->TopLeft = tmpl.TopLeft;
  sub->HelpPicture = tmpl.HelpPicture;
  sub->min_rows_ = tmpl.min_rows_;
  sub->max_rows_ = tmpl.max_rows_;
  sub->units_ = units_;
  for (const auto& c : tmpl.columns_) sub->AdoptColumn(c->Clone(sub.get()));
  sub->EndDefinition();
  sub->table_number_ = row + 1;
  sub->FillToMinRows();
  return sub;
}

}  // namespace kestra
