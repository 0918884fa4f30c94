#include "text/InlineProgressRunner.h"

namespace zavuv {

int InlineProgressRunner::runBody(const WorkerBody& body, CancelOffer) {
    cancel_.store(false);
    ProgressTracker tracker(display_, cancel_);
    return body(tracker);
}

}  // namespace zavuv
