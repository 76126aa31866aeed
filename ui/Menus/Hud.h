// What the HUD's inspectors and confirmations call on it: selection, highlights and firing.
#pragma once

class ENTBASE;
class MenuGameRunning;

// 0 a patron ("Rube1"), 1 an employee ("Carny"), 2 an attraction ("AttrBase") of "attrType"
// below 6, 3 anything else (null, a gone entity, the bigger attractions); names without regard
// to case.
int HudEntityKind(ENTBASE* entity);
// The highlight flag of a patron, an employee or an inspectable attraction; kind 3 is ignored.
void HudSetHighlight(ENTBASE* entity, bool on);
// Selects the entity for inspection: null closes the inspectors and drops the selection (false);
// kind 3 or a gone entity changes nothing (false); else it is selected, highlighted and given to
// the inspector of its kind, the other two given null (true).
bool HudSelect(MenuGameRunning* hud, ENTBASE* entity);
// The firing confirmation's answer: destroys the employee and what hangs below it, takes the
// fee from the cash (never below 0), drops the selection and closes the inspectors. 1, or 0 for
// null or a gone employee.
int HudFireEmployee(MenuGameRunning* hud, ENTBASE* employee);

inline constexpr int HUD_FIRING_FEE = 8000; // cents
