#ifndef VINTREL_ENGINE_CONVERT_FILE_H_
#define VINTREL_ENGINE_CONVERT_FILE_H_

#include <cstddef>
#include <type_traits>
#include <utility>

namespace vintrel {

class TextFile;
class CMapStringToString;

// What a conversion does with the blanks at the start of a line.
enum LeadingBlankMode : int {
  LeadKeep = 0,       // leading blanks stay
  LeadDelAll = 1,     // every leading blank goes
  LeadDelColumn = 2,  // the column rule: see ConvertFile
};

// The settings of one conversion run, read from the profile once per run.
struct ConvertOptions {
  int lead_mode = LeadKeep;      // a LeadingBlankMode; any other value acts as LeadKeep
  int column = 4;                // used by LeadDelColumn only; a negative count acts as 0
  bool collapse_spaces = false;  // runs of spaces become one space
};

// The line hook: a non-owning reference to something callable without arguments (a
// function, a lambda, a functor). It stores a pointer to the callable, so the callable must
// outlive the hook; a temporary lambda written in the call of ConvertFile lives long enough.
// Calling it costs one indirect call and never allocates. A default-constructed hook does
// nothing.
class LineHook {
 public:
  LineHook() = default;
  // A plain function (or a null pointer: a hook that does nothing).
  LineHook(void (*function)()) : function_(function), call_(function ? &CallFunction : nullptr) {}
  // Any other callable object, referred to, not copied.
  template <typename F,
            typename = std::enable_if_t<std::is_class_v<std::remove_cvref_t<F>> &&
                                        !std::is_same_v<std::remove_cvref_t<F>, LineHook> &&
                                        std::is_invocable_v<F&>>>
  LineHook(F&& callable)
      : object_(const_cast<void*>(static_cast<const void*>(&callable))),
        call_(&CallObject<std::remove_reference_t<F>>) {}

  void operator()() const {
    if (call_ != nullptr) call_(*this);
  }

 private:
  static void CallFunction(const LineHook& hook) { hook.function_(); }
  template <typename F>
  static void CallObject(const LineHook& hook) {
    (*static_cast<F*>(hook.object_))();
  }

  void* object_ = nullptr;
  void (*function_)() = nullptr;
  void (*call_)(const LineHook&) = nullptr;
};

// The read limit of one piece, a terminating zero counted: a piece holds at most
// kReadLimit - 1 bytes.
inline constexpr std::size_t kReadLimit = 5120;

// Converts INPUT (open for reading) into OUTPUT (open for writing), one piece at a time,
// and closes neither. A piece is what TextFile::ReadPiece yields with kReadLimit: a line,
// or a part of a line longer than kReadLimit - 1 bytes, which is then converted as a line
// of its own; a zero byte ends the piece's text. Pieces are converted where they lie, in
// INPUT's read buffer (TextFile::ReadPieceInPlace). LINE_HOOK is called once for every piece,
// after it is read and before it is converted.
//
// For each piece: blanks (0x09-0x0D, 0x20) at its end go, except its first byte; leading
// blanks stay (LeadKeep), all go (LeadDelAll), or by the column rule (LeadDelColumn: a line
// starting with a lower-case letter loses them all, otherwise at most `column` of them
// stay, the last ones); runs of spaces after the indentation become one space when
// collapse_spaces is on. A line ending in a single hyphen is written without its line
// break and, unless its last word (hyphen included) is a key of KEEP_WORDS, without the
// hyphen; the first space of the line written next then becomes the line break. Every
// other line is written with one line break. Nothing carries over from one call to the
// next. KEEP_WORDS is only looked up, exactly and case-sensitively.
//
// A FileError of either stream, or any exception the hook throws (a run stopped by the
// user), leaves ConvertFile at once and reaches the caller; the streams stay open, with
// whatever was written so far. No memory is allocated per line.
void ConvertFile(TextFile& input, TextFile& output, const ConvertOptions& options,
                 const CMapStringToString& keep_words, LineHook line_hook = LineHook());

}  // namespace vintrel

#endif  // VINTREL_ENGINE_CONVERT_FILE_H_
