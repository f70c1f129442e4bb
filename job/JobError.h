// A texture job's failure the user can act on, with the exit status a program
// gives it: a run that failed, a request that cannot be run, a cancelled dialog.
#pragma once

#include <stdexcept>
#include <string>

namespace morvessan::job {

inline constexpr int kJobFailedStatus = 1;
inline constexpr int kBadRequestStatus = 2;
inline constexpr int kCancelledStatus = 3;

class JobError : public std::runtime_error {
public:
    explicit JobError(const std::string& what, int status = kJobFailedStatus)
        : std::runtime_error(what), m_status(status) {}
    int status() const { return m_status; }

private:
    int m_status;
};

// A request that cannot be run as asked (a wrong name, value or combination).
inline JobError requestError(const std::string& what) { return JobError(what, kBadRequestStatus); }

} // namespace morvessan::job
