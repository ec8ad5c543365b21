#pragma once

namespace livrax::data {

// While one lives, a stop signal (SIGINT, SIGTERM) also cancels the database
// operation in progress on the open connections, so a long query or fetch
// ends at once with an error instead of running to its end. The connections
// must stay open while it lives (the watcher thread reaches them).
class CancelOnStop {
  public:
    CancelOnStop();
    ~CancelOnStop();
    CancelOnStop(const CancelOnStop&) = delete;
    CancelOnStop& operator=(const CancelOnStop&) = delete;
};

} // namespace livrax::data
