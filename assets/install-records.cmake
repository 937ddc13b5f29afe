# SPDX-FileCopyrightText: 2026 The Quiravex developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Puts the starting top ten into Rec/ only when the folder has none, so that no
# build ever touches a player's records.
file(MAKE_DIRECTORY ${TARGET_DIR})
if(NOT EXISTS ${TARGET_DIR}/record.dat)
  file(COPY_FILE ${SOURCE} ${TARGET_DIR}/record.dat)
endif()
