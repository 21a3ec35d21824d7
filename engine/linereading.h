#pragma once

#include "engine/recorder.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <span>

// The line's reading, over a serial component with CMSComm's members (input,
// inBufferCount, rThreshold, setRThreshold, setInBufferCount, portOpen):
// InstrumentLine runs it on the port, the frame fuzz target on a buffer of its
// own.

// The line opened: what came before is not a reading of this run, and the
// first event waits for a whole frame.
template <class Comm> void startReading(Comm& comm, Recorder& recorder) {
    comm.setInBufferCount(0);
    recorder.discardBuffered();
    comm.setRThreshold(static_cast<short>(recorder.bytesWanted()));
}

// The component's event: every byte waiting goes to the recorder. The port
// raises nothing for bytes that come in while a block is handled (a message
// box spins the event loop): they are taken here too. `beforeBlock` runs
// before each block is handed over.
template <class Comm, class BeforeBlock>
void readWaiting(Comm& comm, Recorder& recorder, BeforeBlock beforeBlock) {
    do {
        beforeBlock();
        const QByteArray block = comm.input();
        recorder.receive(std::span(reinterpret_cast<const std::uint8_t*>(block.constData()),
                                   static_cast<std::size_t>(block.size())));
        // The next event comes when the frame being assembled can be complete.
        comm.setRThreshold(static_cast<short>(recorder.bytesWanted()));
    } while (comm.portOpen() && comm.inBufferCount() >= comm.rThreshold());
}
