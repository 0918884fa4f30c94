#include "text/InlineProgressRunner.h"

namespace zavuv {

int InlineProgressRunner::run(const WorkerBody& body) {
    cancel_.store(false);
    ProgressTracker tracker(display_, cancel_);
    return body(tracker);
}

}  // namespace zavuv
