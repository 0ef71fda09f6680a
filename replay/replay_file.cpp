#include "replay/replay_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <sstream>

#include "platform/files/regular_file.h"
#include "platform/options/quoted_text.h"

namespace {

constexpr char kHeader[] = "zimbrel-replay";
constexpr int kVersion = 1;

// The words of a line, with any comment from '#' on cut away.
std::vector<std::string> Words(std::string line) {
  if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

// A whole decimal word within [low, high]: digits, and a minus only where the type is signed.
template <typename Number>
bool ParseNumber(const std::string& word, Number low, Number high, Number* out) {
  Number value{};
  const char* end = word.data() + word.size();
  const auto [stop, fault] = std::from_chars(word.data(), end, value);
  if (fault != std::errc() || stop != end || value < low || value > high) return false;
  *out = value;
  return true;
}

class LineReader {
 public:
  LineReader(const std::string& name, int lineNumber, std::vector<std::string> words)
      : name_(name), lineNumber_(lineNumber), words_(std::move(words)) {}

  std::string Fault(const std::string& what) const {
    return name_ + ":" + std::to_string(lineNumber_) + ": " + what;
  }

  // The next word as a number, or a fault that says which value was wanted.
  template <typename Number>
  bool Take(const char* what, Number low, Number high, Number* out, std::string* error) {
    if (next_ >= words_.size()) {
      *error = Fault(std::string("the line ends where ") + what + " should be");
      return false;
    }
    const std::string& word = words_[next_++];
    if (!ParseNumber(word, low, high, out)) {
      *error = Fault(QuotedText(word) + " is not " + what);
      return false;
    }
    return true;
  }

  bool TakeButton(const char* what, bool* out, std::string* error) {
    int value = 0;
    if (!Take(what, 0, 1, &value, error)) return false;
    *out = value == 1;
    return true;
  }

  // The next word, which must be `word`; `form` shows the whole line as it should be.
  bool Expect(const char* word, const char* form, std::string* error) {
    if (next_ >= words_.size()) {
      *error = Fault(std::string("the line ends where '") + word + "' should be; it reads " + form);
      return false;
    }
    const std::string& found = words_[next_++];
    if (found == word) return true;
    *error = Fault(QuotedText(found) + " stands where '" + word + "' should be; the line reads " +
                   form);
    return false;
  }

  // The rest of the line: key codes, as a keys line and a start line hold them.
  bool TakeKeyCodes(std::vector<uint8_t>* codes, std::string* error) {
    while (!AtEnd()) {
      uint8_t code = 0;
      if (!Take("a key code (1 to 255)", uint8_t{1}, uint8_t{255}, &code, error)) return false;
      codes->push_back(code);
    }
    return true;
  }

  bool AtEnd() const { return next_ >= words_.size(); }
  const std::string& Word(size_t index) const { return words_[index]; }
  size_t WordCount() const { return words_.size(); }
  void Skip() { ++next_; }

 private:
  const std::string& name_;
  int lineNumber_;
  std::vector<std::string> words_;
  size_t next_ = 0;
};

bool ParseHeader(LineReader& reader, std::string* error) {
  if (reader.WordCount() != 2 || reader.Word(0) != kHeader) {
    *error = reader.Fault(std::string("not a replay: the first line must be '") + kHeader + " " +
                          std::to_string(kVersion) + "'");
    return false;
  }
  int version = 0;
  if (!ParseNumber(reader.Word(1), 0, INT32_MAX, &version) || version != kVersion) {
    *error = reader.Fault("unknown version " + QuotedText(reader.Word(1)) +
                          " (this tool reads version " + std::to_string(kVersion) + ")");
    return false;
  }
  return true;
}

// The part of a line after its position and kind.
bool ParseBody(LineReader& reader, ReplayLine* line, std::string* error) {
  switch (line->channel) {
    case ReplayChannel::Mouse:
      return reader.Take("a motion in x (a whole number of counts)", INT32_MIN, INT32_MAX,
                         &line->dx, error) &&
             reader.Take("a motion in y (a whole number of counts)", INT32_MIN, INT32_MAX,
                         &line->dy, error) &&
             reader.TakeButton("the left button (1 down, 0 up)", &line->left, error) &&
             reader.TakeButton("the right button (1 down, 0 up)", &line->right, error);
    case ReplayChannel::Keys:
      return reader.TakeKeyCodes(&line->keys, error);
    case ReplayChannel::Clock:
      return reader.Take("a clock reading (milliseconds, 0 to 4294967295)", uint32_t{0}, UINT32_MAX,
                         &line->ms, error);
  }
  return false;
}

std::optional<ReplayChannel> ChannelNamed(const std::string& word) {
  for (ReplayChannel channel : {ReplayChannel::Mouse, ReplayChannel::Keys, ReplayChannel::Clock}) {
    if (word == ReplayChannelName(channel)) return channel;
  }
  return std::nullopt;
}

// The order rules: flips never go back, and each channel's reads within a flip go forward.
class OrderCheck {
 public:
  bool Flip(uint64_t flip, int lineNumber, LineReader& reader, std::string* error) {
    if (flip < lastFlip_) {
      *error = reader.Fault("flip " + std::to_string(flip) + " comes after flip " +
                            std::to_string(lastFlip_) + " of line " +
                            std::to_string(lastFlipLine_) + "; flips never go back");
      return false;
    }
    // Each line buys the run at most so many flips: a far-off flip cannot keep it going
    // for years.
    if (flip - lastFlip_ > kMostFlipsBetweenLines) {
      *error = reader.Fault("flip " + std::to_string(flip) + " comes " +
                            std::to_string(flip - lastFlip_) + " flips after " +
                            (lastFlipLine_ == 0 ? std::string("the start")
                                                : "line " + std::to_string(lastFlipLine_)) +
                            "; a replay leaves at most " + std::to_string(kMostFlipsBetweenLines) +
                            " flips (ten minutes) between two lines");
      return false;
    }
    lastFlip_ = flip;
    lastFlipLine_ = lineNumber;
    return true;
  }

  // A replay of one game: no line before the flip it starts at.
  void StartAt(uint64_t flip, int lineNumber) {
    lastFlip_ = flip;
    lastFlipLine_ = lineNumber;
  }

  bool Read(const ReplayLine& line, LineReader& reader, std::string* error) {
    LastRead& last = lastRead_[static_cast<int>(line.channel)];
    if (last.lineNumber != 0 && last.at.flip == line.at.flip && line.at.read <= last.at.read) {
      const std::string read = std::string(ReplayChannelName(line.channel)) + " read " +
                               std::to_string(line.at.read) + " after flip " +
                               std::to_string(line.at.flip);
      const std::string earlier = "line " + std::to_string(last.lineNumber);
      *error = reader.Fault(line.at.read == last.at.read
                                ? read + " is given twice (first on " + earlier + ")"
                                : read + " comes after read " + std::to_string(last.at.read) +
                                      " on " + earlier + "; reads go in order");
      return false;
    }
    last = {line.at, line.lineNumber};
    return true;
  }

 private:
  uint64_t lastFlip_ = 0;
  int lastFlipLine_ = 0;
  struct LastRead {
    ReplayPosition at;
    int lineNumber = 0;  // 0: none yet
  };
  std::array<LastRead, kReplayChannels> lastRead_{};
};

bool ParseLine(LineReader& reader, OrderCheck& order, int lineNumber, Replay* replay,
               std::string* error) {
  uint64_t flip = 0;
  if (!reader.Take("a flip number (a whole number, 0 or more)", uint64_t{0}, UINT64_MAX, &flip,
                   error)) {
    return false;
  }
  if (!order.Flip(flip, lineNumber, reader, error)) return false;
  if (reader.WordCount() >= 2 && reader.Word(1) == "end") {
    if (reader.WordCount() > 2) {
      *error = reader.Fault("'end' takes nothing after it");
      return false;
    }
    if (replay->endFlip) {
      *error = reader.Fault("a second end (the first is on line " +
                            std::to_string(replay->endLineNumber) + ")");
      return false;
    }
    replay->endFlip = flip;
    replay->endLineNumber = lineNumber;
    return true;
  }
  ReplayLine line;
  line.at.flip = flip;
  line.lineNumber = lineNumber;
  if (!reader.Take("a read number (a whole number, 0 or more)", uint64_t{0}, UINT64_MAX,
                   &line.at.read, error)) {
    return false;
  }
  if (reader.AtEnd()) {
    *error = reader.Fault("the line ends where mouse, keys or clock should be");
    return false;
  }
  const std::string& kind = reader.Word(2);
  const std::optional<ReplayChannel> channel = ChannelNamed(kind);
  if (!channel) {
    *error = reader.Fault(QuotedText(kind) + " is not mouse, keys, clock or end");
    return false;
  }
  reader.Skip();
  line.channel = *channel;
  if (!ParseBody(reader, &line, error)) return false;
  if (!reader.AtEnd()) {
    *error = reader.Fault("more on the line than a " + kind + " line takes");
    return false;
  }
  if (!order.Read(line, reader, error)) return false;
  replay->lines.push_back(std::move(line));
  return true;
}

constexpr char kTableWord[] = "highscores";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "highscores <800 hex digits>": the table the program started with, before any read.
bool ParseTable(LineReader& reader, int lineNumber, bool readsSeen, Replay* replay,
                std::string* error) {
  if (replay->table) {
    *error = reader.Fault("a second highscores line (the first is on line " +
                          std::to_string(replay->tableLineNumber) + ")");
    return false;
  }
  if (readsSeen) {
    *error = reader.Fault("the highscores line comes before every read and end");
    return false;
  }
  const std::string digits = reader.WordCount() == 2 ? reader.Word(1) : "";
  ReplayTable table{};
  bool valid = digits.size() == 2 * table.size();
  for (size_t i = 0; valid && i < table.size(); ++i) {
    const int high = HexDigit(digits[2 * i]);
    const int low = HexDigit(digits[2 * i + 1]);
    valid = high >= 0 && low >= 0;
    table[i] = static_cast<uint8_t>(high << 4 | low);
  }
  if (!valid) {
    *error =
        reader.Fault("a highscores line holds Highscore.dat's " + std::to_string(table.size()) +
                     " bytes as " + std::to_string(2 * table.size()) + " hexadecimal digits");
    return false;
  }
  replay->table = table;
  replay->tableLineNumber = lineNumber;
  return true;
}

constexpr char kStartWord[] = "start";
constexpr char kStartForm[] =
    "'start FLIP rand N cursor X Y ACTIVE TIMER ARMED buttons LEFT RIGHT boss FRAME HURT effect "
    "TIMER KIND swat HITS WASP keys CODE...'";

// "start ...": where a replay of one game starts, and what the rules carried into it.
bool ParseStart(LineReader& reader, OrderCheck& order, int lineNumber, bool readsSeen,
                Replay* replay, std::string* error) {
  if (replay->start) {
    *error = reader.Fault("a second start line (the first is on line " +
                          std::to_string(replay->start->lineNumber) + ")");
    return false;
  }
  if (readsSeen) {
    *error = reader.Fault("the start line comes before every read and end");
    return false;
  }
  reader.Skip();
  ReplayStart start;
  start.lineNumber = lineNumber;
  CarriedState& carried = start.carried;
  const auto word = [&](const char* expected) {
    return reader.Expect(expected, kStartForm, error);
  };
  const auto whole = [&](const char* what, int32_t* out) {
    return reader.Take(what, INT32_MIN, INT32_MAX, out, error);
  };
  const auto flag = [&](const char* what, bool* out) {
    return reader.TakeButton(what, out, error);
  };
  const bool parsed =
      reader.Take("the flip it starts at (1 or more)", uint64_t{1}, UINT64_MAX, &start.flip,
                  error) &&
      word("rand") &&
      reader.Take("the generator's count", uint64_t{0}, UINT64_MAX, &carried.randCalls, error) &&
      word("cursor") && whole("the cursor's x", &carried.cursorX) &&
      whole("the cursor's y", &carried.cursorY) &&
      flag("whether a swat is active (1 or 0)", &carried.swatActive) &&
      whole("the swat's timer", &carried.swatTimer) &&
      flag("whether a swat is armed (1 or 0)", &carried.swatArmed) && word("buttons") &&
      flag("the left button (1 down, 0 up)", &carried.leftHeld) &&
      flag("the right button (1 down, 0 up)", &carried.rightHeld) && word("boss") &&
      whole("the boss's frame", &carried.bossFrame) &&
      whole("the hurt boss's timer", &carried.bossHitTimer) && word("effect") &&
      whole("the swat picture's timer", &carried.effectTimer) &&
      whole("the swat picture", &carried.effectKind) && word("swat") &&
      whole("the swat's hits", &carried.swatHits) &&
      flag("whether the swat hit the wasp (1 or 0)", &carried.waspHit) && word("keys") &&
      reader.TakeKeyCodes(&carried.keys, error);
  if (!parsed) return false;
  std::sort(carried.keys.begin(), carried.keys.end());
  carried.keys.erase(std::unique(carried.keys.begin(), carried.keys.end()), carried.keys.end());
  order.StartAt(start.flip, lineNumber);
  replay->start = std::move(start);
  return true;
}

}  // namespace

const char* ReplayChannelName(ReplayChannel channel) {
  switch (channel) {
    case ReplayChannel::Mouse:
      return "mouse";
    case ReplayChannel::Keys:
      return "keys";
    case ReplayChannel::Clock:
      return "clock";
  }
  return "";
}

std::optional<Replay> ParseReplay(const std::string& text, const std::string& name,
                                  std::string* error) {
  Replay replay;
  // A line a read at most: sized once, so a long game's lines are not copied as they grow.
  replay.lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  OrderCheck order;
  bool headerSeen = false;
  int lineNumber = 0;
  // Editors on some systems start a saved text with a byte order mark: read past it.
  constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
  for (size_t start = text.starts_with(kByteOrderMark) ? 3 : 0; start < text.size();) {
    const size_t newline = text.find('\n', start);
    const size_t end = newline == std::string::npos ? text.size() : newline;
    const std::string raw = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    // A replay is text: a NUL byte would also cut every message that quotes the line.
    if (raw.find('\0') != std::string::npos) {
      *error = name + ":" + std::to_string(lineNumber) + ": a NUL byte; not a replay's text";
      return std::nullopt;
    }
    std::vector<std::string> words = Words(raw);
    if (words.empty()) continue;
    LineReader reader(name, lineNumber, std::move(words));
    const bool readsSeen = !replay.lines.empty() || replay.endFlip;
    const bool parsed = !headerSeen ? ParseHeader(reader, error)
                        : reader.Word(0) == kStartWord
                            ? ParseStart(reader, order, lineNumber, readsSeen, &replay, error)
                        : reader.Word(0) == kTableWord
                            ? ParseTable(reader, lineNumber, readsSeen, &replay, error)
                            : ParseLine(reader, order, lineNumber, &replay, error);
    if (!parsed) return std::nullopt;
    headerSeen = true;
  }
  if (!headerSeen) {
    *error = name + ": empty, not a replay (the first line must be '" + kHeader + " " +
             std::to_string(kVersion) + "')";
    return std::nullopt;
  }
  return replay;
}

bool ReadReplayText(const std::string& path, std::string* text, std::string* error) {
  // Only a regular file: a FIFO would block the tool, a folder has no lines.
  const int fd = OpenRegularFile(path.c_str());
  if (fd < 0) {
    const std::string reason = errno == EISDIR ? "a folder, not a replay"
                               : errno == EINVAL
                                   ? "not a regular file, not a replay"
                                   : std::string("cannot be read (") + std::strerror(errno) + ")";
    *error = path + ": " + reason;
    return false;
  }
  struct stat status {};
  if (fstat(fd, &status) == 0 && status.st_size > kLargestReplayBytes) {
    close(fd);
    *error = path + ": " + std::to_string(status.st_size) +
             " bytes, more than a replay may hold (" + std::to_string(kLargestReplayBytes) +
             " bytes, hours of play); not read";
    return false;
  }
  // Read straight into the text, sized by the file and grown should the file grow meanwhile: a
  // block on the stack would cost a check a page fault for each of its pages.
  size_t have = text->size();
  text->resize(have + static_cast<size_t>(std::max<off_t>(status.st_size, 0)) + 4096);
  ssize_t got = 0;
  while (true) {
    if (have == text->size()) text->resize(text->size() * 2);
    got = read(fd, text->data() + have, text->size() - have);
    if (got > 0) {
      have += static_cast<size_t>(got);
    } else if (!(got < 0 && errno == EINTR)) {
      break;
    }
  }
  const int fault = errno;
  close(fd);
  text->resize(have);
  if (got < 0) {
    *error = path + ": cannot be read (" + std::strerror(fault) + ")";
    return false;
  }
  return true;
}

std::optional<Replay> LoadReplay(const std::string& path, std::string* error) {
  std::string text;
  if (!ReadReplayText(path, &text, error)) return std::nullopt;
  return ParseReplay(text, path, error);
}

std::string ReplayHeaderText() {
  return std::string(kHeader) + " " + std::to_string(kVersion) + "\n";
}

std::string ReplayStartText(const ReplayStart& start) {
  const CarriedState& carried = start.carried;
  const auto number = [](int64_t value) { return std::to_string(value); };
  std::string text = std::string(kStartWord) + " " + std::to_string(start.flip) + " rand " +
                     std::to_string(carried.randCalls) + " cursor " + number(carried.cursorX) +
                     " " + number(carried.cursorY) + " " + number(carried.swatActive) + " " +
                     number(carried.swatTimer) + " " + number(carried.swatArmed) + " buttons " +
                     number(carried.leftHeld) + " " + number(carried.rightHeld) + " boss " +
                     number(carried.bossFrame) + " " + number(carried.bossHitTimer) + " effect " +
                     number(carried.effectTimer) + " " + number(carried.effectKind) + " swat " +
                     number(carried.swatHits) + " " + number(carried.waspHit) + " keys";
  for (uint8_t code : carried.keys) text += " " + number(code);
  return text + "\n";
}

std::string ReplayTableText(const ReplayTable& table) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text = std::string(kTableWord) + " ";
  for (uint8_t byte : table) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text + "\n";
}

std::string ReplayLineText(const ReplayLine& line) {
  std::string text = std::to_string(line.at.flip) + " " + std::to_string(line.at.read) + " " +
                     ReplayChannelName(line.channel);
  switch (line.channel) {
    case ReplayChannel::Mouse:
      text += " " + std::to_string(line.dx) + " " + std::to_string(line.dy) + " " +
              (line.left ? "1" : "0") + " " + (line.right ? "1" : "0");
      break;
    case ReplayChannel::Keys:
      for (uint8_t code : line.keys) text += " " + std::to_string(code);
      break;
    case ReplayChannel::Clock:
      text += " " + std::to_string(line.ms);
      break;
  }
  return text + "\n";
}

std::string ReplayEndText(uint64_t flip) { return std::to_string(flip) + " end\n"; }

std::string FormatReplay(const Replay& replay) {
  std::string out = ReplayHeaderText();
  if (replay.start) out += ReplayStartText(*replay.start);
  if (replay.table) out += ReplayTableText(*replay.table);
  bool endWritten = false;
  auto writeEndBefore = [&](uint64_t flip) {
    if (replay.endFlip && !endWritten && *replay.endFlip <= flip) {
      out += ReplayEndText(*replay.endFlip);
      endWritten = true;
    }
  };
  for (const ReplayLine& line : replay.lines) {
    writeEndBefore(line.at.flip);
    out += ReplayLineText(line);
  }
  writeEndBefore(UINT64_MAX);
  return out;
}
