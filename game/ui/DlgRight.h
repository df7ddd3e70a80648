// CDlgRight: the card-game client's side panel, a shaped pop-up owned by the
// table window. It shows the match ranking list, the player's own rank, net
// win or loss, games and the remaining match time, a link, the advertisement
// view and the table chat (history, input, stock phrases, send). The table
// creates it, feeds it pictures and values and appends chat lines; the panel
// itself reads its ini settings, sends the player's chat lines and opens web
// addresses.
#pragma once

#include <string>

#include "game/ui/Explorer.h"
#include "game/ui/PanelResource.h"
#include "game/ui/SkinListCtrl.h"
#include "game/ui/SkinRichEditCtrl.h"
#include "game/ui/XImgButton.h"
#include "platform/Framework.h"

class CGameImages;
class CxImage;

class CDlgRight : public CDialog {
public:
    enum { IDD = IDD_SIDE_PANEL, kTimerId = 55, kTimerMs = 10 };
    // Entries of the image table that the panel uses, from kFirstEntry on.
    enum { kFirstEntry = 355, kEntryCount = 21 };
    static constexpr const char* kPlaceholder = "(200字以内)";

    explicit CDlgRight(CWnd* parent = nullptr);
    ~CDlgRight() override;

    // Borrowed pictures, assigned before creation: the background and the
    // digit strips of the player count and of the own rank.
    void SetPictures(CxImage* background, CxImage* peopleDigits, CxImage* rankDigits);
    // Image table entries 355 to 375 in order (buttons, header, bars).
    void SetImageTablePictures(CxImage* const* entries);
    // The same from the table's image table (null: none).
    void SetImageTable(const CGameImages* images);

    CSkinListCtrl* GetRankList() { return &m_rankList; }
    void InitRankList();
    void SetMyRank(int rank, int total);
    void SetNetWinLoss(const std::string& text);
    void SetGames(int count);
    void SetRemainTime(int seconds);
    void ShowAdPage(const std::string& address);
    void AppendChat(const std::string& text, COLORREF colour);

    int MyRank() const { return m_myRank; }
    int RankTotal() const { return m_total; }
    int Games() const { return m_games; }
    int RemainSeconds() const { return m_remainSeconds; }
    const CString& NetWinLoss() const { return m_netWinLoss; }
    const CString& AdAddress() const { return m_adAddress; }
    CExplorer& AdView() { return m_adView; }
    CSkinRichEditCtrl& History() { return m_history; }
    CEdit& Input() { return m_input; }
    CComboBox& Phrases() { return m_phrases; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnNothing(NMHDR*, LRESULT* result) { *result = 0; }
    void OnLinkCommand() {}
    void OnSend() { SendChat(); }
    void OnQuickInput() { m_phrases.ShowDropDown(TRUE); }
    void OnInputSetFocus();
    void OnInputKillFocus();
    void OnPhraseCloseUp();
    void OnMoreRanks();

    void SendChat();
    void StepCountdown();
    CString ReadSetting(const char* key) const;
    // Draws the decimal digits of value from a strip of ten cells; returns
    // the x after the last one.
    int DrawDigits(HDC dc, CxImage* strip, int value, int x, int y) const;
    void PlaceButton(CXImgButton& button, int x, int y, CxImage* up, CxImage* hover, CxImage* pressed);
    int BackgroundWidth() const;
    int BackgroundHeight() const;

    CComboBox m_unusedCombo;
    CExplorer m_adView;
    CString m_adAddress;
    CString m_netWinLoss = "0";
    int m_myRank = 0;
    int m_total = 0;
    int m_games = 0;
    int m_remainSeconds = 0;
    DWORD m_countdownStamp = 0;  // 0: the countdown is stopped
    int m_inputFocused = 0;

    CxImage* m_background = nullptr;
    CxImage* m_peopleDigits = nullptr;
    CxImage* m_rankDigits = nullptr;
    CxImage* m_entries[kEntryCount] = {};

    CSkinListCtrl m_rankList;
    CSkinListCtrl m_secondList;
    CXImgButton m_moreRanks;
    CXImgButton m_send;
    CXImgButton m_quickInput;
    CHyperLink m_link{CHyperLink::kClientDefaults};
    CComboBox m_phrases;
    CEdit m_input;
    CSkinRichEditCtrl m_history;

    DECLARE_MESSAGE_MAP()
};
