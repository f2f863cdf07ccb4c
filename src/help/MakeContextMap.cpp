// Build step: turns the help project's map file into the source of the
// windows' help context data.
#include "help/HelpContextMap.h"
#include "help/HelpError.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <map file> <output source>\n", argv[0]);
        return 2;
    }
    help::THelpContextMap map;
    try {
        map.SetFileName(QFile::decodeName(argv[1]));
    } catch (const help::EHelpError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    const QByteArray data = map.WriteFileData();
    if (data.isEmpty()) {
        std::fprintf(stderr, "%s names no help contexts\n", argv[1]);
        return 1;
    }
    QByteArray source = "// Generated from the help project's map file; do not edit.\n"
                        "#include \"help/BuiltInContextMap.h\"\n\n"
                        "namespace help {\n\n"
                        "QByteArray FormsContextMapData()\n{\n"
                        "    static const unsigned char data[] = {";
    for (qsizetype i = 0; i < data.size(); ++i)
        source += (i % 16 == 0 ? "\n        " : " ") + QByteArray::number(quint8(data[i])) + ',';
    source += "\n    };\n"
              "    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), sizeof data);\n"
              "}\n\n} // namespace help\n";
    QSaveFile out(QFile::decodeName(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(source) != source.size() || !out.commit()) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
