// English texts, stored in code page 1252.
#include "messages/message_texts.h"

namespace setup32::message_texts::english {

const char k9000[] = "Arial";
const char k0[] = "From: ";
const char k1[] = "To: ";
const char k10[] = "AddSectionFilesToCopyList";
const char k11[] = "CopyFilesInCopyList";
const char k12[] = "Error";
const char k13[] = "Cannot find the source path !";
const char k14[] = "Cannot find the destination path !";
const char k15[] = "Format error !";
const char k16[] = "The system cannot find the file specified !";
const char k17[] = "The system cannot find the path specified !";
const char k18[] = "The system cannot open the file !";
const char k19[] = "Access is denied !";
const char k21[] = "Error no. %d";
const char k40[] = "The setup process is not completed!\nDo you want to exit this program?";
const char k41[] = "Abort";
const char k42[] =
    "Destination File: '%s'\n can't be copied !\n"
    "It may be write protected or run on system.\n"
    "Please set the file writable or terminate the program and try again.\n"
    "\n"
    "Do you want to try again ?";
const char k43[] =
    "Install OK !!!\n"
    "\n"
    " You must reboot the system to activate the changes !\n"
    "\n"
    "Reboot Now ?";
const char k44[] = "The setup process is not completed!\nDo you want to exit this program?";
const char k45[] = "Exit Setup";
const char k46[] = "Disk write error!\nPlease check that your disk is not write-protected.";
const char k47[] = "Modifying 'Config.sys'...";
const char k48[] = "ModifyConfig: The buffer size is too small!";
const char k49[] = "ModifyConfig: No information exist!";
const char k50[] =
    "Cannot find the setup script:\n"
    "%s\n"
    "\n"
    "Nothing has been installed or changed.\n"
    "Please change to the directory of the setup disk and start this program again.";
const char k51[] =
    "The previous CONFIG.SYS was kept as %s\n"
    "and the new one was written as %s.";
const char k52[] =
    "Cannot read the setup script:\n"
    "%s\n"
    "(Windows error %d)\n"
    "\n"
    "Nothing has been installed or changed.\n"
    "Please check that the setup disk is in its drive and can be read, and press Start again.";
const char k53[] =
    "Cannot find the setup script:\n"
    "%s\n"
    "\n"
    "This Start has changed nothing; what the Start before it installed stays in place.\n"
    "Please put the setup disk back and press Start again.";
const char k54[] =
    "Cannot read the setup script:\n"
    "%s\n"
    "(Windows error %d)\n"
    "\n"
    "This Start has changed nothing; what the Start before it installed stays in place.\n"
    "Please check that the setup disk is in its drive and can be read, and press Start again.";
const char k55[] =
    "Cannot change %s:\n"
    "its old content must first move to a free name beside it,\n"
    "and every name from %s to %s is taken.\n"
    "\n"
    "Please delete those you do not need and press Start again.";
const char k56[] =
    "The setup script is empty:\n"
    "%s\n"
    "\n"
    "%s\n"
    "Please use a complete copy of the setup disk and press Start again.";
const char k57[] =
    "Windows reads no section from the setup script:\n"
    "%s\n"
    "\n"
    "%s\n"
    "Please close any program that has the script open, check that it is saved as plain text "
    "rather than Unicode, and press Start again.";
const char k58[] = "Nothing has been installed or changed.";
const char k59[] =
    "This Start has changed nothing; what the Start before it installed stays in place.";
const char k60[] = "Welcome to setup program.";
const char k61[] = "This program will setup the drivers for your system.";
const char k62[] = "&Start";
const char k63[] = "E&xit";
const char k64[] = "Setup";
const char k72[] = "&OK";
const char k73[] = "About";
const char k90[] = "Thank you for using this product.";
const char k100[] = "&Cancel";
const char k101[] = "Progress";

}  // namespace setup32::message_texts::english
