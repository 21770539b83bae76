/* Resource ids shared by the resource script and the code. Plain C, as the resource compiler
   reads it too. */
#ifndef PAL4_RESOURCE_IDS_H
#define PAL4_RESOURCE_IDS_H

#define PAL4_ICON_APP 1

#endif
