# The release's date has its one home here, as the version has in project().
# The manual page, the AppStream metadata and the changelog take it as it is;
# the Debian changelog wants it spelled as RFC 2822 does, made from it here.
set(LUMIDOT_RELEASE_DATE 2026-12-07)

if(NOT LUMIDOT_RELEASE_DATE MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "LUMIDOT_RELEASE_DATE is not YYYY-MM-DD: ${LUMIDOT_RELEASE_DATE}")
endif()
set(year ${CMAKE_MATCH_1})
math(EXPR month "${CMAKE_MATCH_2}")
math(EXPR day "${CMAKE_MATCH_3}")
# The day of the week by Sakamoto's method: January and February count as
# months of the year before.
set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
math(EXPR index "${month} - 1")
list(GET offsets ${index} offset)
set(y ${year})
if(month LESS 3)
    math(EXPR y "${y} - 1")
endif()
math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
set(weekdays Sun Mon Tue Wed Thu Fri Sat)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET weekdays ${weekday} weekdayName)
list(GET months ${index} monthName)
set(LUMIDOT_RELEASE_DATE_RFC2822
    "${weekdayName}, ${CMAKE_MATCH_3} ${monthName} ${year} 12:00:00 +0000")
