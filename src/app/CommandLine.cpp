#include "app/CommandLine.h"

#include <algorithm>

#ifndef PIXMORA_VERSION
#define PIXMORA_VERSION "5.0.98.31"
#endif

namespace px {

namespace {

CommandLineRequest failure(const QString& text)
{
    CommandLineRequest r;
    r.action = CommandAction::Error;
    r.error = text;
    return r;
}

QString absolute(const QString& file, const QString& workingDirectory)
{
    return QDir::cleanPath(QDir(workingDirectory).absoluteFilePath(file));
}

bool takesValue(const QString& option)
{
    return option == QLatin1String("--send-bitmap") || option == QLatin1String("--grab")
        || option == QLatin1String("--delay") || option == QLatin1String("--output")
        || option == QLatin1String("--convert");
}

bool isFlag(const QString& option)
{
    return option == QLatin1String("--capture") || option == QLatin1String("--show")
        || option == QLatin1String("--help") || option == QLatin1String("--version");
}

} // namespace

CommandLineRequest ParseCommandLine(const QStringList& arguments, const QString& workingDirectory)
{
    // The main option chosen (one of the forms), and what came with it.
    QString mode;
    QString modeValue;
    std::optional<QString> delay;
    std::optional<QString> output;
    QStringList files;

    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1Char('-'))) {
            if (arg.isEmpty())
                return failure(QStringLiteral("empty file name"));
            files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }

        QString option = arg;
        std::optional<QString> value;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (arg.startsWith(QLatin1String("--")) && eq > 2) {
            option = arg.left(eq);
            value = arg.mid(eq + 1);
        }

        if (isFlag(option)) {
            if (value)
                return failure(QStringLiteral("option %1 takes no value").arg(option));
        } else if (takesValue(option)) {
            if (!value) {
                if (i + 1 >= arguments.size() || arguments.at(i + 1).startsWith(QLatin1String("--")))
                    return failure(QStringLiteral("option %1 needs a value").arg(option));
                value = arguments.at(++i);
            }
            if (value->isEmpty())
                return failure(QStringLiteral("option %1 needs a value").arg(option));
        } else {
            return failure(QStringLiteral("unknown option %1").arg(arg));
        }

        if (option == QLatin1String("--delay")) {
            if (delay)
                return failure(QStringLiteral("option --delay given twice"));
            delay = *value;
        } else if (option == QLatin1String("--output")) {
            if (output)
                return failure(QStringLiteral("option --output given twice"));
            output = *value;
        } else {
            if (!mode.isEmpty()) {
                return failure(mode == option
                                   ? QStringLiteral("option %1 given twice").arg(option)
                                   : QStringLiteral("options %1 and %2 cannot be combined").arg(mode, option));
            }
            mode = option;
            modeValue = value.value_or(QString());
        }
    }

    if (mode != QLatin1String("--grab")) {
        if (delay)
            return failure(QStringLiteral("option --delay belongs to --grab"));
        if (output)
            return failure(QStringLiteral("option --output belongs to --grab"));
    }
    // --convert takes its target as the one plain argument after the source.
    if (mode == QLatin1String("--convert")) {
        if (files.isEmpty())
            return failure(QStringLiteral("--convert needs SOURCE and TARGET"));
        if (files.size() > 1)
            return failure(QStringLiteral("unexpected argument %1").arg(files.at(1)));
        CommandLineRequest r;
        r.action = CommandAction::Convert;
        r.file = absolute(modeValue, workingDirectory);
        r.target = absolute(files.first(), workingDirectory);
        return r;
    }
    if (!mode.isEmpty() && !files.isEmpty())
        return failure(QStringLiteral("unexpected argument %1").arg(files.first()));

    CommandLineRequest r;
    if (mode.isEmpty()) {
        if (files.size() > 1)
            return failure(QStringLiteral("only one file can be opened at a time"));
        if (files.size() == 1) {
            r.action = CommandAction::Open;
            r.file = absolute(files.first(), workingDirectory);
        }
        return r;
    }
    if (mode == QLatin1String("--capture")) {
        r.action = CommandAction::Capture;
    } else if (mode == QLatin1String("--show")) {
        r.action = CommandAction::Show;
    } else if (mode == QLatin1String("--help")) {
        r.action = CommandAction::Help;
    } else if (mode == QLatin1String("--version")) {
        r.action = CommandAction::Version;
    } else if (mode == QLatin1String("--send-bitmap")) {
        r.action = CommandAction::SendBitmap;
        r.file = absolute(modeValue, workingDirectory);
    } else {  // --grab
        r.action = CommandAction::Grab;
        if (modeValue == QLatin1String("desktop"))
            r.grabTarget = GrabTarget::Desktop;
        else if (modeValue == QLatin1String("window"))
            r.grabTarget = GrabTarget::Window;
        else
            return failure(QStringLiteral("--grab takes desktop or window, not %1").arg(modeValue));
        if (delay) {
            bool ok = false;
            const int ms = delay->toInt(&ok);
            // toInt accepts a leading '+' or blanks; a delay is plain digits only.
            const bool digitsOnly = std::all_of(delay->cbegin(), delay->cend(),
                                                [](QChar c) { return c >= u'0' && c <= u'9'; });
            if (!ok || !digitsOnly || ms < 0 || ms > kMaxGrabDelayMs)
                return failure(QStringLiteral("--delay takes milliseconds from 0 to %1, not %2")
                                   .arg(kMaxGrabDelayMs)
                                   .arg(*delay));
            r.grabDelayMs = ms;
        }
        if (!output)
            return failure(QStringLiteral("--grab needs --output FILE"));
        r.file = absolute(*output, workingDirectory);
    }
    return r;
}

std::optional<InstanceMessage> MessageForRunningInstance(const CommandLineRequest& request,
                                                         const QByteArray& bitmapFileBytes)
{
    switch (request.action) {
    case CommandAction::Start:
    case CommandAction::Show:
        return InstanceMessage{msg::ShowProgram, 0, {}};
    case CommandAction::Open:
        return InstanceMessage{msg::OpenFile, 0, request.file.toUtf8()};
    case CommandAction::Capture:
        return InstanceMessage{msg::StartCapture, 0, {}};
    case CommandAction::SendBitmap:
        return InstanceMessage{msg::CopyData, msg::CopyDataBitmap, bitmapFileBytes};
    case CommandAction::Grab:
    case CommandAction::Convert:
    case CommandAction::Help:
    case CommandAction::Version:
    case CommandAction::Error:
        break;
    }
    return std::nullopt;
}

QString CommandLineHelpText()
{
    return QStringLiteral(
        "Usage: pixmora [FILE]\n"
        "       pixmora --capture\n"
        "       pixmora --show\n"
        "       pixmora --send-bitmap FILE.bmp\n"
        "       pixmora --grab desktop|window [--delay MS] --output FILE\n"
        "       pixmora --convert SOURCE TARGET\n"
        "       pixmora --help | --version\n"
        "\n"
        "  FILE                 open FILE (in the running Pixmora, if there is one)\n"
        "  --capture            start a capture in the running Pixmora\n"
        "  --show               bring the running Pixmora forward\n"
        "  --send-bitmap FILE   show a BMP file in the running Pixmora\n"
        "  --grab TARGET        capture the whole desktop or the active window without\n"
        "                       opening a window and write it to the --output FILE;\n"
        "                       --delay waits MS milliseconds first (0 to %1)\n"
        "  --convert SOURCE TARGET\n"
        "                       convert the picture file SOURCE to TARGET, the types\n"
        "                       taken from the extensions (bmp, dib, pxg, jpg, jpeg, gif,\n"
        "                       png, ico, tif, tiff, wmf, emf), without opening a window\n"
        "  --help               show this text\n"
        "  --version            show the version\n"
        "\n"
        "Without arguments Pixmora starts, or brings the running Pixmora forward.\n")
        .arg(kMaxGrabDelayMs);
}

QString VersionText()
{
    return QStringLiteral("Pixmora 5.0 (build %1)").arg(QStringLiteral(PIXMORA_VERSION));
}

} // namespace px
