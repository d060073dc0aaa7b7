# Runs at install time: writes the desktop entry with the installed viewer's full path in its
# Exec line. A desktop drops an entry whose program is not on its PATH, and a user's
# ~/.local/bin often is not (or only from the next login).
# Set by the install code before it: KINDREL_ENTRY_SOURCE, KINDREL_ENTRY_STAGED,
# KINDREL_ENTRY_BINDIR, KINDREL_ENTRY_DATADIR.
if(IS_ABSOLUTE "${KINDREL_ENTRY_BINDIR}")
  set(program "${KINDREL_ENTRY_BINDIR}/kindrel-viewer")
else()
  set(program "${CMAKE_INSTALL_PREFIX}/${KINDREL_ENTRY_BINDIR}/kindrel-viewer")
endif()
set(bs "\\")
if(NOT program MATCHES "^[A-Za-z0-9/._+-]+$")
  # Quoted as the Exec key quotes: ", `, $ and \ behind a backslash; then, as in every value
  # of the key file, each backslash doubled.
  string(REPLACE "${bs}" "${bs}${bs}" program "${program}")
  string(REPLACE "\"" "${bs}\"" program "${program}")
  string(REPLACE "`" "${bs}`" program "${program}")
  string(REPLACE "$" "${bs}$" program "${program}")
  string(REPLACE "${bs}" "${bs}${bs}" program "${program}")
  set(program "\"${program}\"")
endif()
string(REPLACE "%" "%%" program "${program}")
file(READ "${KINDREL_ENTRY_SOURCE}" entry)
string(REPLACE "\nExec=kindrel-viewer " "\nExec=${program} " entry "${entry}")
file(WRITE "${KINDREL_ENTRY_STAGED}" "${entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${KINDREL_ENTRY_DATADIR}/applications"
     TYPE FILE FILES "${KINDREL_ENTRY_STAGED}")
