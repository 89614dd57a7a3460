#include "UnitMenu.h"
void TFormMenu::buildGeneration() {}
void TFormMenu::buildEditor() {}
void TFormMenu::ButtonGeraClick() {}
void TFormMenu::RBDistribuiClick() {}
void TFormMenu::RBAleaClick() {}
void TFormMenu::RBCombinaClick() {}
void TFormMenu::RBCancelaClick() {}
void TFormMenu::ButtonOKGeraClick() {}
void TFormMenu::ButtonCanDistribuiClick() {}
void TFormMenu::ButtonCanGeraClick() {}
void TFormMenu::EditDezJogoExit() {}
void TFormMenu::ButtonOKAleaClick() {}
void TFormMenu::ButtonCanAleaClick() {}
void TFormMenu::ButtonOKCombClick(QPushButton*) {}
void TFormMenu::ButtonGeraJClick() {}
void TFormMenu::ButtonCanGeraJClick() {}
void TFormMenu::showChips() {}
