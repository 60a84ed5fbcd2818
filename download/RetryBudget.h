#pragma once
// The transfer retries of the libcurl downloaders: a budget per run (per
// segment in the segmented one). A partial transfer, which the next attempt
// resumes, costs 1 of it; any other failure 2.

class RetryBudget {
 public:
  static constexpr int kTotal = 12;

  // Charges the failed attempt's result.
  void Charge(int result);
  int Left() const { return left_; }

 private:
  int left_ = kTotal;
};
