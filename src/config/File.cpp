#include "config/File.h"

#include "frame/Sessione.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>
#include <QtCore/QString>

#include <cerrno>
#include <cstring>

namespace ondrix {

namespace {

// File names travel as the dialog gives them (QFile::encodeName).
QString percorso(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

} // namespace

std::optional<std::string> scegliFile(Sessione& c, bool salva)
{
    FileDialogRequest r;
    r.save = salva;
    r.defaultExt = ".txt";
    r.filterDesc = "(*.txt)";
    r.filterPattern = "*.txt";
    c.host.setBusyPointer(true);
    std::string nome = c.f.NomeFile;
    if (!c.host.fileDialog(r, nome) || nome.empty()) {
        c.host.setBusyPointer(false);
        return std::nullopt;
    }
    c.f.NomeFile = nome;
    return nome;
}

std::optional<std::string> scriviFileSicuro(const std::string& path, std::string_view bytes)
{
    // The rename would replace a read-only file too (and root may write any
    // file): a file that nobody may write is kept, as on a system that
    // refuses to replace it.
    const QFileInfo info(percorso(path));
    // A device, a pipe or a socket is never replaced by a file: the rename
    // would put a regular file where the device was (/dev/full, a serial port).
    if (info.exists() && !info.isFile() && !info.isDir())
        return std::string("Not a regular file");
    if (info.exists() && info.isFile()) {
        const auto scrittura = QFileDevice::WriteOwner | QFileDevice::WriteGroup |
                               QFileDevice::WriteOther;
        if (!info.isWritable() || !(info.permissions() & scrittura))
            return std::string(std::strerror(EACCES));
    }

    QSaveFile f(percorso(path));
    f.setDirectWriteFallback(false);
    // Unbuffered: a short write (disk full, size limit) shows in the count
    // returned here instead of vanishing in a later flush.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return f.errorString().toStdString();
    // A short write is tried again for the rest: the retry that fails names
    // the reason (disk full, file too large).
    std::size_t fatti = 0;
    while (fatti < bytes.size()) {
        const qint64 n =
            f.write(bytes.data() + fatti, static_cast<qint64>(bytes.size() - fatti));
        if (n <= 0) {
            std::string motivo = f.errorString().toStdString();
            f.cancelWriting();
            return motivo;
        }
        fatti += static_cast<std::size_t>(n);
    }
    if (!f.commit())
        return f.errorString().toStdString();
    return std::nullopt;
}

FileLetto leggiFileConfigurazione(const std::string& path)
{
    FileLetto r;
    QFile f(percorso(path));
    if (QFileInfo(f).isDir()) {
        r.errore = std::strerror(EISDIR);
        return r;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        r.errore = f.errorString().toStdString();
        return r;
    }
    const QByteArray dati = f.read(static_cast<qint64>(MassimoFileConfigurazione) + 1);
    if (f.error() != QFileDevice::NoError) {
        r.errore = f.errorString().toStdString();
        return r;
    }
    if (static_cast<std::size_t>(dati.size()) > MassimoFileConfigurazione) {
        r.troppoGrande = true;
        return r;
    }
    r.bytes.assign(dati.constData(), static_cast<std::size_t>(dati.size()));
    return r;
}

std::string messaggioSalvataggioFallito(const std::string& path, const std::string& motivo)
{
    return "Impossibile salvare la configurazione nel file \"" + path + "\":\r\n" + motivo +
           "\r\nUn file già presente con questo nome è rimasto com'era.";
}

std::string messaggioLetturaFallita(const std::string& path, const std::string& motivo)
{
    return "Impossibile leggere il file \"" + path + "\":\r\n" + motivo;
}

} // namespace ondrix
