#include "workspace/InlineProgressRunner.h"

#include "workspace/ProgressTracker.h"

namespace zavuv::workspace {

base::EndCode InlineProgressRunner::runBody(const base::WorkerBody& body, base::CancelOffer) {
    cancel_.store(stopped_.load());
    ProgressTracker tracker(display_, cancel_, *clock_);
    return body(tracker);
}

}  // namespace zavuv::workspace
