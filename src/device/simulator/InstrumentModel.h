#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/acquisition/FrameEncoding.h"
#include "core/acquisition/Frames.h"

#include <cstdint>
#include <deque>
#include <span>

namespace kavlon {

// The instrument at the other end of the link, as a model behind the device layer:
// it takes the program's output reports and queues the frames it answers with, which
// the link hands out paced like the real one or as fast as they are read. The
// simulated instrument and the replay of saved shots are two of them. Not
// thread-safe: the model's backend serialises access.
class InstrumentModel {
public:
    static constexpr int kReportLength = 65;
    // What it keeps waiting for a host that does not read: three full shots.
    static constexpr std::size_t kMaxPendingFrames = 3 * (kChannels * kFramesPerMemory + 1);

    virtual ~InstrumentModel() = default;

    // One output report from the program: report ID, 0x25, seven command bytes.
    // Anything shorter or unmarked is no command.
    void receive(std::span<const std::uint8_t> report);
    // Back to its power-on state with nothing waiting to be sent.
    virtual void powerOn() = 0;

    bool hasFrame() const { return !m_pending.empty(); }
    std::size_t pendingFrames() const { return m_pending.size(); }
    Frame takeFrame();

    void sendPoll();
    void sendQuickPrint(int mode);
    int pollsSent() const { return m_pollsSent; }
    int acknowledgements() const { return m_acknowledgements; }
    // Answers not sent because too much was already waiting.
    int answersDropped() const { return m_answersDropped; }

    // The input report carrying a frame: report ID 0, one unused byte, the frame.
    static std::array<std::uint8_t, kReportLength> reportOf(const Frame& frame);

protected:
    // A command other than the acknowledgement, which the model counts itself.
    virtual void apply(const CommandBytes& command) = 0;
    // Queues one frame, unless too much is waiting (then the answer is dropped).
    void queue(const Frame& frame);
    // Whether an answer of this many frames fits; one that does not is counted as dropped,
    // as an answer is sent whole or not at all.
    bool roomFor(std::size_t frames);
    void clearPending() { m_pending.clear(); }

private:
    std::deque<Frame> m_pending;
    int m_pollsSent = 0;
    int m_acknowledgements = 0;
    int m_answersDropped = 0;
};

} // namespace kavlon
