#include "io/channels.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <memory>

#include "io/unformatted.h"

namespace tavro {
namespace {

// Output is gathered per channel and written in blocks of this size, or at commit and close.
constexpr std::size_t kFlushThreshold = 1 << 16;

struct ChannelState {
  std::FILE* file = nullptr;
  OpenMode mode = OpenMode::TextOutput;
  std::string path;
  std::string buffer;
  std::unique_ptr<FreeFormatInput> input;
  bool lineOpen = false;
  bool writeFailed = false;
};

std::array<ChannelState, kMaxChannel + 1>& channels() {
  static std::array<ChannelState, kMaxChannel + 1> table;
  return table;
}

ChannelState* stateOf(int channel) {
  if (channel < 0 || channel > kMaxChannel) return nullptr;
  return &channels()[static_cast<std::size_t>(channel)];
}

void flushBuffer(ChannelState& c) {
  if (c.file == nullptr || c.buffer.empty()) return;
  if (std::fwrite(c.buffer.data(), 1, c.buffer.size(), c.file) != c.buffer.size()) {
    c.writeFailed = true;
  }
  c.buffer.clear();
}

}  // namespace

bool openChannel(int channel, const std::string& path, OpenMode mode) {
  ChannelState* c = stateOf(channel);
  if (c == nullptr) return false;
  closeChannel(channel);
  if (path.empty()) return false;
  if (mode == OpenMode::TextInput) {
    auto input = std::make_unique<FreeFormatInput>();
    if (!input->load(path)) return false;
    c->input = std::move(input);
  } else {
    c->file = std::fopen(path.c_str(), "wb");
    if (c->file == nullptr) return false;
  }
  c->mode = mode;
  c->path = path;
  c->lineOpen = false;
  c->writeFailed = false;
  return true;
}

bool closeChannel(int channel) {
  ChannelState* c = stateOf(channel);
  if (c == nullptr) return false;
  bool ok = true;
  if (c->file != nullptr) {
    flushBuffer(*c);
    ok = !c->writeFailed;
    if (std::fclose(c->file) != 0) ok = false;
    c->file = nullptr;
  }
  c->input.reset();
  c->path.clear();
  c->buffer.clear();
  c->lineOpen = false;
  c->writeFailed = false;
  return ok;
}

void closeAllChannels() {
  for (int channel = 0; channel <= kMaxChannel; ++channel) closeChannel(channel);
}

bool isOpen(int channel) {
  const ChannelState* c = stateOf(channel);
  return c != nullptr && (c->file != nullptr || c->input != nullptr);
}

void commitChannel(int channel) {
  ChannelState* c = stateOf(channel);
  if (c == nullptr || c->file == nullptr) return;
  flushBuffer(*c);
  std::fflush(c->file);
  ::fsync(::fileno(c->file));
}

const std::string& channelPath(int channel) {
  static const std::string none;
  const ChannelState* c = stateOf(channel);
  return c == nullptr ? none : c->path;
}

void channelAppend(int channel, std::string_view text) {
  ChannelState* c = stateOf(channel);
  if (c == nullptr || c->file == nullptr || c->mode != OpenMode::TextOutput || text.empty()) {
    return;
  }
  c->buffer.append(text);
  c->lineOpen = text.back() != '\n';
  if (c->buffer.size() >= kFlushThreshold) flushBuffer(*c);
}

bool hasOpenLine(int channel) {
  const ChannelState* c = stateOf(channel);
  return c != nullptr && c->lineOpen;
}

FreeFormatInput* channelInput(int channel) {
  ChannelState* c = stateOf(channel);
  return c == nullptr ? nullptr : c->input.get();
}

void channelAppendUnformatted(int channel, std::span<const LayoutValue> values) {
  ChannelState* c = stateOf(channel);
  if (c == nullptr || c->file == nullptr || c->mode != OpenMode::UnformattedOutput) return;
  encodeUnformattedRecord(c->buffer, values);
  if (c->buffer.size() >= kFlushThreshold) flushBuffer(*c);
}

void formatFree(std::string& out, std::span<const LayoutValue> values) {
  out.push_back(' ');
  for (const LayoutValue& v : values) {
    switch (v.kind) {
      case LayoutValue::Kind::Text:
        out.append(v.text);
        break;
      case LayoutValue::Kind::Integer:
        out.push_back(' ');
        appendInteger(out, 0, 0, v.integer);
        break;
      case LayoutValue::Kind::Real:
        out.push_back(' ');
        appendExponent(out, 22, 15, 1, v.real);
        break;
    }
  }
  out.push_back('\n');
}

}  // namespace tavro
