#include "app/ScenarioFields.h"

#include "app/Form1Layout.h"
#include "app/FormLineEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

RenameSettings ScenarioFields::read(const Form1Controls& c, const QString& mask)
{
    RenameSettings scenario;
    scenario.Maske = mask;
    scenario.Start = c.Zahl->text();
    scenario.Step = c.Schrittweite->text();
    scenario.Digits = c.StellenAnzahl->currentIndex();
    scenario.LeadZeros = static_cast<LeadZeroFill>(c.Vornullenzeichen->currentIndex());
    scenario.LetterCase = static_cast<CaseRule>(c.Schreibweise->currentIndex());
    scenario.Search = c.SucheText->text();
    scenario.Replace = c.ErsetzeText->text();
    scenario.DirIt = c.DirItCheck->isChecked() ? 1 : 0;
    scenario.Regex = c.RegexCheck->isChecked() ? 1 : 0;
    return scenario;
}

void ScenarioFields::show(const Form1Controls& c, const RenameSettings& scenario)
{
    c.Maske->setText(scenario.Maske);
    c.Zahl->setText(scenario.Start);
    c.Schrittweite->setText(scenario.Step);
    c.StellenAnzahl->setCurrentIndex(scenario.Digits < c.StellenAnzahl->count() ? scenario.Digits : 0);
    c.Vornullenzeichen->setCurrentIndex(static_cast<int>(scenario.LeadZeros));
    c.Schreibweise->setCurrentIndex(static_cast<int>(scenario.LetterCase));
    c.SucheText->setText(scenario.Search);
    c.ErsetzeText->setText(scenario.Replace);
    c.DirItCheck->setChecked(scenario.DirIt != 0);
    c.RegexCheck->setChecked(scenario.Regex != 0);
}
