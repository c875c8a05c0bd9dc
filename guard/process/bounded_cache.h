// A map that forgets the entries used least recently once it holds more than its capacity, so that a
// guard running for weeks does not keep every path it ever saw.
#pragma once
#include <cstddef>
#include <list>
#include <unordered_map>
#include <utility>

namespace zorvix {

template <typename Key, typename Value, typename Hash = std::hash<Key>>
class BoundedCache {
 public:
  explicit BoundedCache(size_t capacity) : capacity_(capacity ? capacity : 1) {}

  // The entry of key, marked as just used; null when there is none.
  Value* Find(const Key& key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return &it->second->second;
  }

  // Stores value under key (replacing an entry), marked as just used; drops the least recently used
  // entry when the cache is over its capacity.
  Value& Put(const Key& key, Value value) {
    if (Value* v = Find(key)) return *v = std::move(value);
    order_.emplace_front(key, std::move(value));
    index_[key] = order_.begin();
    if (order_.size() > capacity_) {
      index_.erase(order_.back().first);
      order_.pop_back();
    }
    return order_.front().second;
  }

  size_t size() const { return order_.size(); }
  size_t capacity() const { return capacity_; }

 private:
  size_t capacity_;
  std::list<std::pair<Key, Value>> order_;  // most recently used first
  std::unordered_map<Key, typename std::list<std::pair<Key, Value>>::iterator, Hash> index_;
};

}  // namespace zorvix
