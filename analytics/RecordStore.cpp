#include "analytics/RecordStore.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <utility>

#include "analytics/JsonCheck.h"

namespace zk_analytics {

namespace {

// A staged line is one record; more than this is no record of ours.
constexpr size_t kMaxLineBytes = 1 << 20;

// The next line without its LF; false at the end of the file. A longer line
// keeps only its first kMaxLineBytes, and `whole` turns false.
bool ReadLine(std::istream& in, std::string& line, bool& whole) {
  line.clear();
  whole = true;
  std::streambuf* buffer = in.rdbuf();
  int c = buffer->sbumpc();
  if (c == std::char_traits<char>::eof()) return false;
  for (; c != std::char_traits<char>::eof() && c != '\n'; c = buffer->sbumpc()) {
    if (line.size() < kMaxLineBytes) {
      line += static_cast<char>(c);
    } else {
      whole = false;
    }
  }
  return true;
}

}  // namespace

RecordStore::RecordStore(SenderConfig sender, std::string stagingFilePath, BatchSender send)
    : sender_(std::move(sender)), stagingFilePath_(std::move(stagingFilePath)), send_(std::move(send)) {
  if (!send_) {
    send_ = [](const SenderConfig& config, const std::string& batch) {
      return RecordSender::Send(config, batch, {});
    };
  }
}

void RecordStore::Add(const utils::ObjectNode& record) { AddJson(record.ToJson()); }

void RecordStore::AddJson(std::string json) {
  std::lock_guard<std::mutex> lock(queueLock_);
  queue_.push_back(std::move(json));
  if (queue_.size() > kCapacity) queue_.pop_front();
}

bool RecordStore::FlushAll() {
  LoadStaged();
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(queueLock_);
      if (queue_.empty()) return true;
    }
    if (!FlushPart()) return false;
  }
}

bool RecordStore::FlushPart() {
  LoadStaged();
  std::lock_guard<std::mutex> flush(flushLock_);
  return FlushPartLocked();
}

bool RecordStore::FlushPartLocked() {
  std::vector<std::string> batch;
  {
    std::lock_guard<std::mutex> lock(queueLock_);
    const size_t n = std::min(queue_.size(), kBatchSize);
    if (n == 0) return true;
    batch.assign(std::make_move_iterator(queue_.begin()),
                 std::make_move_iterator(queue_.begin() + static_cast<std::ptrdiff_t>(n)));
    queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(n));
  }
  bool sent = false;
  try {
    std::string text = "[";
    for (size_t i = 0; i < batch.size(); ++i) {
      if (i != 0) text += ',';
      text += batch[i];
    }
    text += ']';
    sent = send_(sender_, text);
  } catch (const std::exception& error) {
    // The batch is already out of the queue: it goes back like a failed send.
    std::cerr << "Exception when flush failed: (" << error.what() << ") " << std::endl;
  }
  if (!sent) Requeue(batch);
  return sent;
}

void RecordStore::Requeue(std::vector<std::string>& batch) {
  std::lock_guard<std::mutex> lock(queueLock_);
  const size_t room = kCapacity - std::min(queue_.size(), kCapacity);
  const size_t keep = std::min(room, batch.size());
  queue_.insert(queue_.begin(),
                std::make_move_iterator(batch.end() - static_cast<std::ptrdiff_t>(keep)),
                std::make_move_iterator(batch.end()));
}

void RecordStore::LoadStaged() {
  std::lock_guard<std::mutex> lock(queueLock_);
  LoadStagedLocked();
}

void RecordStore::LoadStagedLocked() {
  if (!loadPending_) return;
  const size_t room = kCapacity - std::min(queue_.size(), kCapacity);
  if (room != 0) {
    std::deque<std::string> staged;
    std::ifstream in(stagingFilePath_, std::ios::binary);
    std::string line;
    bool whole = true;
    while (in && ReadLine(in, line, whole)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty()) continue;
      // One bad line would have the collector refuse every batch it is in.
      if (!whole || !utils::IsOneJsonObject(line)) {
        std::cerr << "A staged line that is no valid record is dropped (" << line.size() << " bytes)." << std::endl;
        continue;
      }
      staged.push_back(std::move(line));
      if (staged.size() > room) staged.pop_front();
    }
    queue_.insert(queue_.begin(), std::make_move_iterator(staged.begin()),
                  std::make_move_iterator(staged.end()));
  }
  std::ofstream truncate(stagingFilePath_, std::ios::binary | std::ios::trunc);
  loadPending_ = false;
}

void RecordStore::SaveStaged() {
  std::lock_guard<std::mutex> lock(queueLock_);
  SaveStagedLocked();
}

void RecordStore::SaveStagedLocked() {
  // CR LF, the text-mode line end of the Windows C runtime, on every platform.
  std::ofstream out(stagingFilePath_, std::ios::binary | std::ios::trunc);
  if (!out) return;
  for (const std::string& record : queue_) out << record << "\r\n";
}

void RecordStore::Close() {
  std::lock_guard<std::mutex> lock(queueLock_);
  LoadStagedLocked();
  SaveStagedLocked();
}

std::vector<std::string> RecordStore::Snapshot() const {
  std::lock_guard<std::mutex> lock(queueLock_);
  return {queue_.begin(), queue_.end()};
}

}  // namespace zk_analytics
