// The backup copy of the data files.
#include "entry/backup_copies.h"

#include <filesystem>
#include <system_error>

#include "records/catalogue.h"
#include "records/text.h"
#include "screen/kit.h"
#include "platform/commands.h"
#include "platform/dos_path.h"

namespace vellano::entry {
namespace {

constexpr std::string_view kArchive = "PCOP.ZIP";
constexpr int kMessageRow = 46;

bool fileExists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::vector<std::string> backupCommands(std::string_view yy, std::string_view registryFolder) {
  const std::string y(yy);
  const std::string masters = "CMD /C 7Z a PCOP.ZIP INDICECL.* INDICEST.* COMATIC.* INDEX.DAT CLIFOR.* ESTC.* ESTCNO.*";
  return {
      "CMD /C DEL PCOP.ZIP",
      masters,
      "CMD /C 7Z a PCOP.ZIP INDVEN" + y + ".* INDACQ" + y + ".* IVVER" + y + ".* VENDIT" + y + ".* ACQUIS" + y +
          ".* CDIVA" + y + ".* TABIVA.DAT ",
      "CMD /C 7Z a PCOP.ZIP SOTCON.DAT CAUCON.DAT CASBAN.DAT PAGVEN" + y + ".* PAGACQ" + y + ".* PSALCL" + y +
          ".* PSALFO" + y + ".* QMENU.DAT ",
      masters,
      "CMD /C 7Z a PCOP.ZIP DATA1.DAT DATA.DAT DIKTA.* " + std::string(registryFolder) + "DIKTA.*",
      "CMD /C 7Z a PCOP.ZIP TEL" + y + ".DAT INDAZ" + y + ".DAT AZIEN" + y + ".DAT",
      "CMD /C COPY PCOP.ZIP A:",
  };
}

std::string registryFolder(const records::Catalogue& catalogue) {
  const std::string name = catalogue.dosName(records::channel::kCompany);
  const std::size_t at = name.rfind("DIKTA.");
  return at == std::string::npos ? std::string() : name.substr(0, at);
}

void runBackupCopies(screen::Session& session) {
  records::Catalogue& catalogue = session.catalogue;
  const std::vector<std::string> commands = backupCommands(catalogue.context().yearSuffix, registryFolder(catalogue));
  catalogue.closeAll();

  // The outcome of the commands is not otherwise looked at; what matters to the user is
  // whether 7-Zip ran and whether the archive reached drive A:.
  bool archiverMissing = false;
  bool copyFailed = false;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const platform::CommandResult result = platform::runCommand(commands[i], session.console);
    const bool archiving = i >= 1 && i + 1 < commands.size();
    if (archiving && !result.started) archiverMissing = true;
    if (i + 1 == commands.size() && (!result.started || result.exitCode != 0)) copyFailed = true;
  }
  const bool archived = fileExists(platform::hostPath(kArchive));
  const bool copied = fileExists(platform::hostPath("A:" + std::string(kArchive)));

  platform::ScreenBuffer& screen = session.console.screen();
  const std::uint8_t attr = screen::screenColours(session.context()).text;
  std::string message;
  if (archiverMissing)
    message = "ATTENZIONE: programma 7-Zip non trovato, archivio PCOP.ZIP non creato.";
  else if (!archived)
    message = "ATTENZIONE: archivio PCOP.ZIP non creato.";
  else if (copyFailed || !copied)
    message = "ATTENZIONE: copia di PCOP.ZIP su A: non riuscita (unita' A: non trovata).";
  else
    message = "Copia eseguita. Premi un tasto.";
  screen.putText(kMessageRow, 2, records::fitLeft(message, 88), attr);
  session.console.readKey();
}

}  // namespace vellano::entry
