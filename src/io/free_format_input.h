// Free-format input: the reading conventions of the input data file and of small control files.
// Each read starts on a new line, takes values separated by blanks or commas from as many lines
// as it needs, and skips the rest of its last line. A text value is one word or a text in
// apostrophes. Heading and title lines are fixed-width text lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavro {

/// Why a read failed: the file, the 1-based line, what was expected and what was found.
struct InputError {
  std::string file;
  int line = 0;
  std::string expected;  // for example "an integer for unitsCode"
  std::string found;     // the offending word, or "end of file"

  /// One line for the runtime status file, e.g.
  /// "case.inp, line 12: expected an integer for unitsCode, found '2.5'".
  std::string message() const;
};

/// A text held in memory and read forward, value by value, with the line of every value known.
///
/// Separators are blanks, tabs and commas; a line end counts as a blank. A comma must follow a
/// value: blanks around it do not matter, but a comma with no value before it in the read (two
/// commas in a row, or a comma first in the read) is an empty field, which is an error (there are
/// no null values). Blank lines inside a read are skipped. A "\r" before "\n" is dropped, a
/// leading UTF-8 byte order mark is ignored, and a last line needs no "\n". Any other byte is just
/// a character: it makes a number invalid and is kept in a word or a text line.
class FreeFormatInput {
 public:
  /// Loads the whole file; false when it cannot be opened or read.
  bool load(const std::string& path);
  /// Takes a text directly (tests, fuzzing); `name` stands for the file in messages.
  void assign(std::string text, std::string name);

  /// Starts a new read: the next value is taken from the start of the next unread line.
  void beginRead();
  /// Ends the read: the rest of the line of its last value is skipped. A read that took no
  /// value still uses up the line it started on.
  void endRead();

  // The next value of the current read. Each returns false at the first failure and records
  // it (see error()); `what` names the field for the message. An integer is an optional sign
  // and digits that fit 32 bits; a real is an optional sign, digits with an optional point (at
  // least one digit), then optionally E or D, an optional sign and digits; a magnitude too small
  // for a double reads as zero, one too large is an error. A word is a run of characters up to
  // a blank or comma, or a text in apostrophes or double quotes (the quote doubled stands for
  // itself) that closes on the same line and is followed by a separator. A value asked for
  // outside a read starts one.
  bool nextInteger(int& value, std::string_view what);
  bool nextReal(double& value, std::string_view what);
  bool nextWord(std::string& value, std::string_view what);

  /// Reads the next whole line as fixed-width text: its first `width` characters, padded with
  /// blanks. The line does not count as a read of values; a read in progress is over and the
  /// rest of its line skipped. False at end of file.
  bool readTextLine(std::string& value, std::size_t width, std::string_view what);

  /// One read of several values: beginRead, then each value in turn, then endRead.
  /// Arguments alternate: a name, then an int&, double& or std::string&.
  template <class... Args>
  bool read(Args&&... args);

  /// The 1-based line that the next value or line would come from.
  int currentLine() const;
  bool atEnd() const;
  const InputError& error() const { return error_; }
  const std::string& name() const { return name_; }

 private:
  /// One value as written: `raw` is its text in the file, `text` the word it stands for
  /// (the quotes removed and doubled quotes undone for a quoted text).
  struct Token {
    std::string_view raw;
    std::string_view text;
    int line = 0;
    bool quoted = false;
  };

  std::string text_;
  std::string name_;
  std::size_t pos_ = 0;       // next character to look at
  int line_ = 1;              // line of pos_
  bool inRead_ = false;       // between beginRead and endRead
  bool tookValue_ = false;    // the current read has taken a value
  bool commaAllowed_ = false; // a value was taken and no comma has followed it yet
  std::string unquoted_;      // buffer for a quoted text with doubled quotes
  InputError error_;

  bool atLineStart() const { return pos_ == 0 || text_[pos_ - 1] == '\n'; }
  int endOfFileLine() const { return atLineStart() ? line_ : line_ + 1; }
  void skipRestOfLine();
  bool fail(int line, std::string_view kind, std::string_view what, std::string_view found);
  bool failOnToken(const Token& token, std::string_view kind, std::string_view what,
                   std::string_view note = {});
  bool nextToken(Token& token, std::string_view kind, std::string_view what);

  bool readValue(int& v, std::string_view what) { return nextInteger(v, what); }
  bool readValue(double& v, std::string_view what) { return nextReal(v, what); }
  bool readValue(std::string& v, std::string_view what) { return nextWord(v, what); }
  bool readPairs() { return true; }
  template <class T, class... Rest>
  bool readPairs(std::string_view what, T& value, Rest&&... rest) {
    if (!readValue(value, what)) return false;
    return readPairs(rest...);
  }
};

template <class... Args>
bool FreeFormatInput::read(Args&&... args) {
  beginRead();
  if (!readPairs(args...)) return false;
  endRead();
  return true;
}

}  // namespace tavro
