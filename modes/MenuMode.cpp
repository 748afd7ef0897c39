#include "modes/MenuMode.h"

// PLACEHOLDER: bodies to be written.
MenuMode::MenuMode(Game* owner) : Mode(owner) { }
MenuMode::~MenuMode() { }
bool MenuMode::Update() { return true; }
void MenuMode::ShowHiscores() { }
