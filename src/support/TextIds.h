#pragma once

// The ids of the message catalogue. Plain #defines: the resource compiler reads
// this file too. Ids the program never shows are listed all the same, since the
// catalogue holds them in both languages.
#define IDS_CAPTION 100
#define IDS_LOAD_PROBLEM 101
#define IDS_NOT_AVAILABLE 102
#define IDS_MDAC_DESCRIPTION 103
#define IDS_REPAIR_EXPLANATION 104
#define IDS_REPAIR_BUTTON 106
#define IDS_VERSION_HEADER 107
#define IDS_WELCOME_TEXT 108
#define IDS_WELCOME_CONTINUE 110
#define IDS_REPAIR_HEADER 111
#define IDS_WELCOME_HEADING 112
#define IDS_VERSION_EXPLANATION 113
#define IDS_MDAC_NEWER 114
#define IDS_REREGISTER 115
#define IDS_URL_DOWNLOAD 117
#define IDS_URL_DONATION 118
#define IDS_EXIT 119
#define IDS_URL_REPAIR 120
#define IDS_JET_INSTALLED 121
#define IDS_URL_REPAIR_XP 122
#define IDS_PROCESSING 123
#define IDS_NEXT 124
#define IDS_BACK 125
#define IDS_DONATION_REQUEST 126
#define IDS_FILES_HEADER 127
#define IDS_MDAC_XP_SP2 128
#define IDS_FINISH_HEADER 129
#define IDS_CHECK_PROGRAM 131
#define IDS_FILES_HINT 132
#define IDS_LETTER 134
#define IDS_SPACE_1 135
#define IDS_SPACE_2 136
#define IDS_FILE_NAME 137
#define IDS_FILE_VERSION 138
#define IDS_PATH 139
#define IDS_FILES_EXPLANATION 140
#define IDS_REGISTER_PROBLEM 141
#define IDS_CLICK 142
#define IDS_JET_DESCRIPTION 143
#define IDS_JET_NEWER 144
#define IDS_MDAC_LATEST 145
#define IDS_VERSIONS_CONTINUE 146
#define IDS_JET_DOWNLOAD_HINT 147
#define IDS_CANCEL 148
#define IDS_CLOSE 149
#define IDS_REPAIR_RUNNING 150
#define IDS_MDAC_HEADER 151
#define IDS_JET_HEADER 152
#define IDS_JET_LATEST 153
#define IDS_REPAIR_FINISHED 154
#define IDS_RESOLVED_QUESTION 155
#define IDS_RESOLVED_YES 156
#define IDS_RESOLVED_NO 157
// The reasons IDS_LOAD_PROBLEM gives for a component that crashed or hung its helper.
#define IDS_COMPONENT_CRASHED 158
#define IDS_COMPONENT_TIMED_OUT 159
#define IDS_COMPONENT_ENDED 160
#define IDS_HELPER_UNAVAILABLE 161

// The copy command of the file list and the runs without a window.
#define IDS_COPY 200
#define IDS_COPY_ALL 201
#define IDS_COPY_SUMMARY 202
#define IDS_USAGE 203
#define IDS_REPORT_OS 204
#define IDS_REPORT_MATCHES 205
#define IDS_REPORT_YES 206
#define IDS_REPORT_NO 207
#define IDS_REPORT_CURRENT 208
#define IDS_REPORT_UPDATE 209
#define IDS_REPORT_NOT_WRITTEN 210
#define IDS_REPAIR_SUMMARY 211
// Where the user has no administrator rights (Windows XP and Server 2003 have
// no elevation): the repair page's text, and the line of /repair /quiet.
#define IDS_REPAIR_NEEDS_ADMIN 212
#define IDS_REPAIR_NEEDS_ADMIN_LINE 213

// The database access test: the pages' and reports' lines, the steps' names
// and the reasons of failures the test itself finds.
#define IDS_ACCESS_HEADER 300
#define IDS_ACCESS_WORKS 301
#define IDS_ACCESS_FAILS 302
#define IDS_ACCESS_RUNNING 303
#define IDS_ACCESS_STEP_CLASSES 304
#define IDS_ACCESS_STEP_CREATE 305
#define IDS_ACCESS_STEP_ROUNDTRIP 306
#define IDS_ACCESS_STEP_CLEANUP 307
#define IDS_ACCESS_AFTER_WORKS 308
#define IDS_ACCESS_AFTER_FAILS 309
#define IDS_ACCESS_SERVER_MISSING 310
#define IDS_ACCESS_NO_SERVER 311
#define IDS_ACCESS_ENDED 312
#define IDS_ACCESS_TIMED_OUT 313
#define IDS_ACCESS_NO_FOLDER 314
#define IDS_ACCESS_NOT_STARTED 315
#define IDS_ACCESS_BAD_ANSWER 316
#define IDS_ACCESS_VALUE_DIFFERS 317
#define IDS_ACCESS_NOT_REMOVED 318
#define IDS_ACCESS_NO_FILE 319
#define IDS_ACCESS_NO_ROW 320
#define IDS_ACCESS_PASSED 321
#define IDS_ACCESS_FAILED 322
#define IDS_ACCESS_NOT_RUN 323
#define IDS_ACCESS_NOT_REGISTERED 324
// The version page's one line: short, the step and the code only.
#define IDS_ACCESS_LINE_WORKS 325
#define IDS_ACCESS_LINE_FAILS 326
#define IDS_ACCESS_EXCEPTION 327
