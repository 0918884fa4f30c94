#include "sim/ChipSocket.h"

#include "sim/ChipFactory.h"

namespace zavuv::sim {

ChipSocket::ChipSocket(ChipImage& image, std::optional<std::int64_t> swapAfter)
    : image_(image), chip_(makeChip(image)), swapAfter_(swapAfter) {}

void ChipSocket::setReset(bool held) {
    if (held && swapAfter_) {
        ++sessions_;
        if (sessions_ == *swapAfter_ + 1) {
            chip_.reset();
        } else if (sessions_ == *swapAfter_ + 2) {
            ChipImage fresh = ChipImage::fresh(image_.deviceIndex);
            fresh.signature = image_.signature;  // an alias keeps telling its own
            image_ = std::move(fresh);
            chip_ = makeChip(image_);
        }
    }
    if (chip_)
        chip_->setReset(held);
}

void ChipSocket::setSelected(bool selected) {
    if (chip_)
        chip_->setSelected(selected);
}

std::uint8_t ChipSocket::transfer(std::uint8_t mosi) {
    return chip_ ? chip_->transfer(mosi) : 0xFF;
}

}  // namespace zavuv::sim
