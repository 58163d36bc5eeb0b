// bvrslip calibrate: prints the setting-mode page to a queue with its stored offset and says
// what to measure on it; with the measures, corrects and stores the queue's offset.
#include <QGuiApplication>
#include <QIODevice>
#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "cli/GuiApplication.h"
#include "printing/Calibration.h"
#include "printing/CalibrationPage.h"
#include "printing/CupsPrinting.h"
#include "report/PrinterOffsets.h"

namespace bvr::cli {

namespace {

std::string Mm(double mm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", mm);
  return text;
}

std::string OffsetText(PrinterOffset offset) {
  return std::to_string(offset.dx) + "," + std::to_string(offset.dy);
}

void SendCalibrationPage(const std::string& queue, PrinterOffset offset, PaperPoint nominal,
                         std::ostream& out) {
  const std::unique_ptr<QGuiApplication> app = EnsureGuiApplication();
  const int job = bvr::PrintCalibrationPage(queue, offset);
  out << "Page de réglage envoyée à " << queue << " (travail " << queue << "-" << job
      << "), décalage enregistré " << OffsetText(offset) << " (dixièmes de mm).\n"
      << "Sur la feuille imprimée, mesurez à la règle la marque « largeur : 3 cm » :\n"
      << "  X : du bord gauche de la feuille au trait gauche de la marque, attendu "
      << Mm(nominal.xMm) << " mm\n"
      << "  Y : du bord haut de la feuille à la ligne de la marque, attendu " << Mm(nominal.yMm)
      << " mm\n"
      << "  L : la longueur de la marque, d'un trait à l'autre, attendu " << Mm(kMarkLengthMm)
      << " mm\n"
      << "Puis : bvrslip calibrate " << queue << " --measured X,Y --measured-length L\n";
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options options(args, {"--measured", "--measured-length"}, {});
  if (options.Positional().size() != 1) {
    throw UsageError("expected one queue NAME");
  }
  std::optional<PaperPoint> measured;
  if (auto text = options.Value("--measured")) {
    measured = ParsePaperPoint(*text);
    if (!measured) {
      throw UsageError("--measured takes X,Y in millimetres, e.g. 140.5,26");
    }
  }
  std::optional<double> length;
  if (auto text = options.Value("--measured-length")) {
    length = ParseMillimetres(*text);
    if (!length || *length <= 0) {
      throw UsageError("--measured-length takes the mark's length in millimetres, e.g. 29.8");
    }
  }
  const std::string queue = ResolvePrintQueue(options.Positional().front());
  const PrinterOffset stored = StoredPrinterOffset(queue);
  const PaperPoint nominal = CalibrationMarkNominal();
  if (!measured && !length) {
    SendCalibrationPage(queue, stored, nominal, out);
    return kExitOk;
  }
  if (length) {
    if (const std::optional<double> percent = ScalingPercent(*length)) {
      err << "Attention : la marque mesure " << Mm(*length) << " mm au lieu de "
          << Mm(kMarkLengthMm) << " mm, l'imprimante met la page à l'échelle (" << Mm(*percent)
          << " %). Désactivez l'ajustement à la page : « Taille réelle » ou « Aucune mise à "
             "l'échelle » dans le pilote, ou lpadmin -p "
          << queue
          << " -o print-scaling-default=none -o fit-to-page-default=false ; puis imprimez à "
             "nouveau la page de réglage.\n";
    } else {
      out << "Longueur : " << Mm(*length) << " mm, l'imprimante ne met pas la page à "
          << "l'échelle.\n";
    }
  }
  if (!measured) {
    return kExitOk;
  }
  const PrinterOffset corrected = CalibratedOffset(stored, nominal, *measured);
  StorePrinterOffset(queue, corrected);
  out << "X : mesuré " << Mm(measured->xMm) << " mm, attendu " << Mm(nominal.xMm) << " mm\n"
      << "Y : mesuré " << Mm(measured->yMm) << " mm, attendu " << Mm(nominal.yMm) << " mm\n"
      << "Décalage de " << queue << " : " << OffsetText(stored) << " -> " << OffsetText(corrected)
      << " (dixièmes de mm, vers la droite et vers le bas), enregistré dans "
      << PrinterSettingsPath() << "\n"
      << "Pour vérifier : bvrslip calibrate " << queue << "\n";
  return kExitOk;
}

const Registrar registrar(Command{
    .name = "calibrate",
    .usage = "calibrate [--measured X,Y] [--measured-length L] [--] NAME|default   prints the "
             "setting-mode page; with the measures (mm), corrects the queue's offset (-- before "
             "a NAME that starts with -)",
    .run = Run,
});

}  // namespace

}  // namespace bvr::cli
