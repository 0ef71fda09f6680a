// How much an address may ask for: a bucket for each address, `perMinute` tokens deep and
// filled again at that rate. A submission takes one token of the submissions' bucket; a check
// takes its CPU seconds from the verification time's, once it is known. Kept in the server's
// memory, or in the database (`shared`), so that every server on it holds an address to one
// budget.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

#include "leaderboard/game_store.h"

class RateLimiter {
 public:
  explicit RateLimiter(double perMinute, GameStore* shared = nullptr, std::string kind = "")
      : perMinute_(perMinute), shared_(shared), kind_(std::move(kind)) {}
  // True when `address` may submit now (and takes its token); else false, with the seconds
  // until it may.
  bool Take(const std::string& address, std::chrono::steady_clock::time_point now, int* waitSeconds);
  // True when anything is left in the address's bucket; else false, with the seconds until it
  // is.
  bool Left(const std::string& address, std::chrono::steady_clock::time_point now, int* waitSeconds);
  // Takes `amount` whatever is left: the bucket may go below empty, and waits to fill again.
  void Spend(const std::string& address, std::chrono::steady_clock::time_point now, double amount);

 private:
  struct Bucket {
    double tokens = 0;
    std::chrono::steady_clock::time_point filled;
  };
  // The address's bucket filled up to `now`; the lock held.
  Bucket& Filled(const std::string& address, std::chrono::steady_clock::time_point now);
  // Takes `amount` when at least `least` is left.
  bool TakeAtLeast(const std::string& address, std::chrono::steady_clock::time_point now, double least,
                   double amount, int* waitSeconds);

  double perMinute_;
  GameStore* shared_;
  std::string kind_;  // the bucket's name in the database
  std::mutex mutex_;
  std::unordered_map<std::string, Bucket> buckets_;
};
