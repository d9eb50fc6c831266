#pragma once
// Marks a search panel's own changes of its result list while it lives, so the window does not take
// them for the user's clicks: the counter is above zero while any scope is open.
class UpdateScope {
  public:
    explicit UpdateScope(int& counter) : counter_(counter) { ++counter_; }
    ~UpdateScope() { --counter_; }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

  private:
    int& counter_;
};
