// SPDX-License-Identifier: GPL-3.0-or-later
// French texts of the composer and of the hand-over of a written message.

#include "messages/windows/texts.h"

#include "resources/text_table.h"

namespace quarnel {

namespace {
constexpr TextEntry kTexts[] = {
    T(txt::kComposerCaption, "Rédaction d'un message chiffré"),
    T(txt::kSaveChanges, "Voulez-vous sauver les modifications dans %s?"),
    T(txt::kSaveMessage, "Voulez-vous enregistrer le message dans %s?"),
    T(txt::kLineColumn, "Ligne : %3d   Colonne : %3d"),
    T(txt::kModified, "Modifié"),
    T(txt::kFilterAll, "Tous les fichiers (*.*)"),
    T(txt::kRed, "rouge"),
    T(txt::kGreen, "vert"),
    T(txt::kBlue, "bleu"),
    T(txt::kBlack, "noir"),
    T(txt::kSubjectLabel, "&Objet :"),
    T(txt::kAttachButton, "Fichiers a&ttachés..."),
    T(txt::kOpenTextAction, "Ouvrir un texte"),
    T(txt::kSaveTextAction, "Enregistrer le texte"),
    T(txt::kSaveTextAsAction, "Enregistrer le texte sous"),
    T(txt::kCut, "Couper"),
    T(txt::kPaste, "Coller"),
    T(txt::kUndo, "Annuler la dernière modification"),
    T(txt::kFont, "Police"),
    T(txt::kFontSize, "Taille"),
    T(txt::kColour, "Couleur"),
    T(txt::kBold, "Gras (Ctrl+B)"),
    T(txt::kItalic, "Italique (Ctrl+I)"),
    T(txt::kUnderline, "Souligné (Ctrl+U)"),
    T(txt::kAlignLeft, "Aligné à gauche (Ctrl+L)"),
    T(txt::kAlignCentre, "Centré (Ctrl+E)"),
    T(txt::kAlignRight, "Aligné à droite (Ctrl+R)"),
    T(txt::kBullets, "Puces"),
    T(txt::kEncryptButton, "&Chiffrer"),
    T(txt::kNothingSelected, "%s : aucun texte n'est sélectionné."),
    T(txt::kNothingToUndo, "%s : il n'y a rien à annuler."),
    T(txt::kNothingToPaste, "%s : le presse-papiers ne contient pas de texte."),
    T(txt::kFileTooLarge, "Le fichier %s est trop grand pour être ouvert (plus de %s octets)."),
    T(txt::kNotReadableRtf, "Le fichier %s n'est pas un texte formaté lisible : %s"),
    T(txt::kTooManyAttachments, "Un message ne peut porter plus de %s fichiers attachés."),
    T(txt::kNotInCp1252,
      "Ces caractères ne peuvent pas être transmis dans un message simple : %s\n"
      "Revenez au message pour les remplacer, ou abandonnez le message (il n'est pas chiffré)."),
    T(txt::kNotInCp1252File,
      "Ces caractères ne peuvent pas être enregistrés dans un fichier texte : %s\n"
      "Le fichier n'est pas enregistré."),
    T(txt::kEncryptionCaption, "Chiffrement du message"),
    T(txt::kNoFile, "Aucun fichier attaché"),
    T(txt::kBoldShort, "G"),
    T(txt::kItalicShort, "I"),
    T(txt::kUnderlineShort, "S"),
    T(txt::kSaveText, "&Enregistrer le texte"),
    T(txt::kCloseWithoutSaving, "&Fermer sans enregistrer"),
    T(txt::kEncryptWithoutSaving, "&Chiffrer sans enregistrer"),
    T(txt::kSaveThenEncrypt, "&Enregistrer puis chiffrer"),
    T(txt::kOpenWithoutSaving, "&Ouvrir sans enregistrer"),
    T(txt::kCloseUnencrypted,
      "Fermer sans chiffrer ? L'objet et les fichiers attachés de ce message seront perdus."),
    T(txt::kRemoveAttachment, "&Retirer une pièce"),
    T(txt::kTipRemoveNothing, "Aucun fichier n'est attaché."),
    T(txt::kMailSize, "Courrier : environ %s"),
    T(txt::kMailTooLarge,
      "Ce courrier fera environ %s, plus que les %s que beaucoup de fournisseurs de messagerie "
      "acceptent : il risque d'être refusé.\nVoulez-vous le chiffrer quand même ?"),
    T(txt::kEncryptAnyway, "&Chiffrer quand même"),
    T(txt::kAttachmentSize, "%s (%s)"),
    T(txt::kAttachmentMissingSize, "%s (introuvable)"),
    T(txt::kButtonReply, "Ré&pondre"),
    T(txt::kTipReply, "Écrire la réponse à l'expéditeur de ce message."),
};
}  // namespace

std::span<const TextEntry> ComposerTexts() {
    return kTexts;
}

}  // namespace quarnel
