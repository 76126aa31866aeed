-- A menu script that defines no Create.
loadedNoCreate = 1
