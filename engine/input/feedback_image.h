#pragma once

#include <string>

class CNodeBasement;

// The images that behaviours show over their node (click, hover and disabled feedback).

// Creates the description as a child of the node at (0, 0, 0) with the node's size as its size
// factors, gives it an ID and fades its Alpha in from 0 to 1 over 300 ms. Null when the
// description makes no node.
CNodeBasement* createFeedbackImage(CNodeBasement* node, const std::string& image);
// The node's image with that ID, or null when it is gone (its ID may since belong to another node).
CNodeBasement* findFeedbackImage(CNodeBasement* node, int id);
// Fades the image out over 300 ms, then deletes it.
void fadeOutFeedbackImage(CNodeBasement* image);
