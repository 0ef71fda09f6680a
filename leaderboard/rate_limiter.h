// How many submissions an address may make: a bucket of `perMinute` tokens for each address,
// filled again at that rate, one token a submission.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

class RateLimiter {
 public:
  explicit RateLimiter(double perMinute) : perMinute_(perMinute) {}
  // True when `address` may submit now (and takes its token); else false, with the seconds
  // until it may.
  bool Take(const std::string& address, std::chrono::steady_clock::time_point now, int* waitSeconds);

 private:
  struct Bucket {
    double tokens = 0;
    std::chrono::steady_clock::time_point filled;
  };
  double perMinute_;
  std::mutex mutex_;
  std::unordered_map<std::string, Bucket> buckets_;
};
