#pragma once

#include "radioemulator.h"
#include "testbytes.h"

#include <QByteArray>
#include <QString>

namespace qx::test {

// The emulated radio's memory holding an image: each record's data at the address its
// header names, 0xFF everywhere else.
inline RadioEmulator::Memory memoryOf(const QByteArray &image) {
    RadioEmulator::Memory m;
    m.fill(0xFF);
    for (int r = 0; r + MemoryFrame::kSize <= image.size(); r += MemoryFrame::kSize) {
        const int address = (quint8(image[r + 1]) << 8) | quint8(image[r + 2]);
        for (int k = 0; k < 8 && address + k < int(m.size()); ++k)
            m[std::size_t(address + k)] = quint8(image[r + 4 + k]);
    }
    return m;
}

#ifdef QX_DEMO_IMAGE
// The radio of the run command: tools/emulator/demo.dat.
inline RadioEmulator::Memory demoMemory() {
    const QByteArray image = readFile(QStringLiteral(QX_DEMO_IMAGE));
    if (image.isEmpty())
        qFatal("no demo image at %s", QX_DEMO_IMAGE);
    return memoryOf(image);
}
#endif

} // namespace qx::test
