#pragma once
// The bounded queue of finished records, sent in batches of at most 30 and
// kept in a staging file between runs.

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "analytics/ObjectNode.h"
#include "analytics/RecordSender.h"

namespace zk_analytics {

class RecordStore {
 public:
  static constexpr size_t kCapacity = 1024;
  static constexpr size_t kBatchSize = 30;

  // Sends one batch; true on success. The default is RecordSender::Send.
  using BatchSender = std::function<bool(const SenderConfig&, const std::string& batch)>;

  RecordStore(SenderConfig sender, std::string stagingFilePath, BatchSender send = {});
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // Appends one record; beyond the capacity the oldest is dropped.
  void Add(const utils::ObjectNode& record);
  void AddJson(std::string json);

  bool FlushPart();
  bool FlushAll();
  // Once per store: merges the staging file in front of the queue and empties the file.
  void LoadStaged();
  void SaveStaged();
  // Merges anything still staged, writes the queue to the staging file.
  void Close();

  std::vector<std::string> Snapshot() const;

 private:
  bool FlushPartLocked();
  // The newest records of a failed batch, as many as there is room for, back to the front.
  void Requeue(std::vector<std::string>& batch);
  void LoadStagedLocked();
  void SaveStagedLocked();

  std::deque<std::string> queue_;
  const SenderConfig sender_;
  const std::string stagingFilePath_;
  BatchSender send_;
  bool loadPending_ = true;
  mutable std::mutex queueLock_;
  std::mutex flushLock_;  // always taken before queueLock_
};

}  // namespace zk_analytics
