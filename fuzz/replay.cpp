// Runs a fuzz target's harness once on every file of its seed corpus, without a fuzzer: built by the
// ordinary build and run with the tests, so that a harness that no longer builds, or a seed that now
// fails its checks, is seen at once. Arguments: files or folders (every file in a folder, in name
// order). Fails when it found no input at all.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Only some harnesses have it.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QString path = QFile::decodeName(argv[i]);
        if (QFileInfo(path).isDir()) {
            const QDir dir(path);
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
                inputs << dir.filePath(name);
        } else {
            inputs << path;
        }
    }
    for (const QString& input : std::as_const(inputs)) {
        QFile file(input);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(input));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        std::printf("%s\n", qPrintable(input));
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
    }
    std::printf("%lld inputs\n", static_cast<long long>(inputs.size()));
    return inputs.isEmpty() ? 1 : 0;
}
