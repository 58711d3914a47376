#include "results/word_reader.h"

#include <cerrno>
#include <cmath>
#include <fstream>
#include <system_error>

#include "tables/number_format.h"

namespace kestra {
namespace {

bool is_space_or_control(char c) { return static_cast<unsigned char>(c) <= 32; }

// Words are separated by a blank or TAB followed by any run of blanks and
// control characters; control characters inside a word stay part of it.
std::vector<std::string> split_words(std::string_view line) {
  std::vector<std::string> words;
  std::size_t begin = 0;
  std::size_t end = line.size();
  while (begin < end && is_space_or_control(line[begin])) ++begin;
  while (end > begin && is_space_or_control(line[end - 1])) --end;
  std::string_view rest = line.substr(begin, end - begin);
  while (!rest.empty()) {
    const std::size_t stop = rest.find_first_of(" \t");
    words.emplace_back(rest.substr(0, stop));
    if (stop == std::string_view::npos) break;
    std::size_t next = stop;
    while (next < rest.size() && is_space_or_control(rest[next])) ++next;
    rest.remove_prefix(next);
  }
  return words;
}

}  // namespace

TWordReader::TWordReader(const std::filesystem::path& file_name) {
  const std::string name = file_name.string();
  std::error_code ec;
  if (std::filesystem::is_directory(file_name, ec))
    throw TInOutError("Cannot open file \"" + name + "\". " +
                      std::make_error_code(std::errc::is_a_directory).message());
  errno = 0;
  std::ifstream in(file_name, std::ios::binary);
  if (!in) {
    const int reason = errno != 0 ? errno : static_cast<int>(std::errc::io_error);
    throw TInOutError("Cannot open file \"" + name + "\". " + std::generic_category().message(reason));
  }
  std::string content;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    content.append(buffer, static_cast<std::size_t>(in.gcount()));
  if (in.bad())
    throw TInOutError("Cannot read file \"" + name + "\". " + std::make_error_code(std::errc::io_error).message());
  Load(content);
}

TWordReader TWordReader::FromText(std::string_view text) {
  TWordReader reader;
  reader.Load(text);
  return reader;
}

void TWordReader::Load(std::string_view content) {
  // A line is read, then the end of the text is tested: so an empty text is
  // one empty line, and a final line end does not start another line.
  std::size_t pos = 0;
  do {
    const std::size_t eol = content.find_first_of("\r\n", pos);
    Line line;
    if (eol == std::string_view::npos) {
      line.text = content.substr(pos);
      pos = content.size();
    } else {
      line.text = content.substr(pos, eol - pos);
      pos = eol + 1;
      if (content[eol] == '\r' && pos < content.size() && content[pos] == '\n') ++pos;
    }
    line.words = split_words(line.text);
    lines_.push_back(std::move(line));
  } while (pos < content.size());
}

std::string TWordReader::NextWord() {
  while (line_index_ < lines_.size() && word_index_ == lines_[line_index_].words.size()) {
    ++line_index_;
    word_index_ = 0;
  }
  if (AtEnd()) throw TInOutError(std::string(kIncomplete));
  return lines_[line_index_].words[word_index_++];
}

std::string TWordReader::ItemError(std::string_view what) const {
  return "Error on Line " + std::to_string(line_index_ + 1) + " Item " + std::to_string(word_index_) + "\r" +
         std::string(what);
}

long double TWordReader::ReadFloat() {
  const std::string word = NextWord();
  long double value = 0;
  if (parse_real(word, value) != ParseStatus::ok)
    throw TInOutError(ItemError("A floating point number was expected but not found."));
  return value;
}

std::int32_t TWordReader::ReadInt() {
  const std::string word = NextWord();
  long double value = 0;
  if (parse_real(word, value) != ParseStatus::ok || value != std::trunc(value) || value < -2147483648.0L ||
      value > 2147483647.0L)
    throw TInOutError(ItemError("An integer was expected but not found."));
  return static_cast<std::int32_t>(value);
}

std::string TWordReader::ReadLine() {
  // Reading past the last line would index beyond the store; it is the same
  // damage as words running out, and says so.
  if (AtEnd()) throw TInOutError(std::string(kIncomplete));
  std::string text = lines_[line_index_].text;
  ++line_index_;
  word_index_ = 0;
  return text;
}

}  // namespace kestra
