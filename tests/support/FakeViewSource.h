#pragma once
// A document stand-in for the view's tests: plain state and status the test
// sets directly, and the requests served as the document serves them.

#include "image/SonarState.h"
#include "image/ViewSource.h"

namespace velmaris::testing {

struct FakeViewSource : ViewSource {
    SonarState state;
    ViewStatus status;
    const SonarState& State() const override { return state; }
    ViewStatus Status() const override { return status; }
    ViewRequests TakeRequests() override { return TakeViewRequests(state); }
};

} // namespace velmaris::testing
